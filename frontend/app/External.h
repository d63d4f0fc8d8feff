// CExternal: the object the page reaches as window.external.
//
// Six script methods, dispatch ids 1 to 6 in this order, names matched without
// regard to case, each running one modal dialog and returning a boolean:
//   1 Configure         the settings dialog g_confDlg; true after OK
//   2 Convert_texture   (wad file name) find that wad and copy it into the
//                       program folder; true when a file was copied
//   3 Convert_wad       the wad extraction dialog; always true
//   4 Convert_map       the map conversion dialog; always true
//   5 Copy_pk4          the package deployment dialog; always true
//   6 Copy_compile_run  the copy/compile/run dialog; always true
// Answers IID_IExternal like IDispatch. It lives as long as its view: the
// page's references only come and go on top of its own.
#pragma once

#include "CmdTarget.h"
#include "String.h"

// {3BD5F14A-D569-4816-A284-EEAA2DA52F2A}
extern const IID IID_IExternal;

class CExternal : public CCmdTarget {
public:
    CExternal();

    bool Configure();
    bool Convert_texture(const CString& name);
    bool Convert_wad();
    bool Convert_map();
    bool Copy_pk4();
    bool Copy_compile_run();

protected:
    void OnFinalRelease() override;
};
