#include "External.h"

#include "dialogs/CnRDlg.h"
#include "dialogs/ConfDlg.h"
#include "dialogs/ConvMapDlg.h"
#include "dialogs/ConvWadDlg.h"
#include "dialogs/DeployDlg.h"

const IID IID_IExternal = {0x3BD5F14A, 0xD569, 0x4816, {0xA2, 0x84, 0xEE, 0xAA, 0x2D, 0xA5, 0x2F, 0x2A}};

CExternal::CExternal()
{
    EnableAutomation(IID_IExternal);
    AddDispatchMethod("Configure", 0, [this](const std::vector<CString>&) { return Configure(); });
    AddDispatchMethod("Convert_texture", 1, [this](const std::vector<CString>& arguments) {
        return Convert_texture(arguments[0]);
    });
    AddDispatchMethod("Convert_wad", 0, [this](const std::vector<CString>&) { return Convert_wad(); });
    AddDispatchMethod("Convert_map", 0, [this](const std::vector<CString>&) { return Convert_map(); });
    AddDispatchMethod("Copy_pk4", 0, [this](const std::vector<CString>&) { return Copy_pk4(); });
    AddDispatchMethod("Copy_compile_run", 0, [this](const std::vector<CString>&) { return Copy_compile_run(); });
}

void CExternal::OnFinalRelease()
{
    CCmdTarget::OnFinalRelease();
}

bool CExternal::Configure()
{
    return g_confDlg.DoModal() == IDOK;
}

bool CExternal::Convert_texture(const CString& name)
{
    return ConvertTextureWad(name);
}

bool CExternal::Convert_wad()
{
    CConvWadDlg dialog;
    dialog.DoModal();
    return true;
}

bool CExternal::Convert_map()
{
    CConvMapDlg dialog;
    dialog.DoModal();
    return true;
}

bool CExternal::Copy_pk4()
{
    CDeployDlg dialog;
    dialog.DoModal();
    return true;
}

bool CExternal::Copy_compile_run()
{
    CCnRDlg dialog;
    dialog.DoModal();
    return true;
}
