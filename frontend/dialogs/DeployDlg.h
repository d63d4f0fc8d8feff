// CDeployDlg: "Deploy pk4 pack files" (dialog 135).
//
// Lists the .pk4 packages of the program folder (file-system order, unsorted)
// and the MOD folder they go to; "Copy Now" copies the marked packages there in
// one shell copy and leaves the dialog open. A package's mark lives only in its
// item's image: 5 marked, 4 not (the lowest bit flips). The known packages start
// marked. The dialog keeps nothing between openings and writes no settings.
#pragma once

#include "Dialog.h"
#include "ListCtrl.h"

class CDeployDlg : public CDialog {
public:
    explicit CDeployDlg(CWnd* parent = nullptr);

    // Flips the mark of one package; nothing for a negative or unknown index.
    void ToggleMark(int item);
    // The item's image index, or defaultImage when the list cannot report the item.
    static int GetItemImage(const CListCtrl& list, int item, int subItem, int defaultImage);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnNotify(UINT id, NMHDR* header, LRESULT* result) override;

private:
    void OnClickPackages(NMHDR* header, LRESULT* result);
    void OnKeydownPackages(NMHDR* header, LRESULT* result);

    CListCtrl m_listPackages;
    CListCtrl m_listDestination;
};
