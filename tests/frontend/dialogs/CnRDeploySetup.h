// What the deployment and Copy/Compile/Run tests share: confirming the settings
// through the Configuration dialog as a user would, and a current folder that
// is restored afterwards.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "DialogControls.h"
#include "DialogDriver.h"
#include "TestGlobals.h"
#include "resource.h"

namespace cnrdeploy {

// Runs g_confDlg: types the DOOM 3 folder, presses UPDATE, selects the MOD folder
// of that name (none when it is not listed) and confirms with OK. True when the
// settings then read back as given.
inline bool ConfirmSettings(const std::string& doom3Folder, const std::string& modFolder)
{
    testsupport::DialogDriver driver;
    driver.Then("Configuration", [&](HWND dialog) {
        testsupport::SetItemText(dialog, IDC_CONF_DOOM3FOLDER, doom3Folder);
        testsupport::ClickButton(dialog, IDC_CONF_UPDATE);
        const std::vector<std::string> folders = testsupport::GetListItems(dialog, IDC_CONF_MODFOLDERS);
        int selected = -1;
        for (size_t i = 0; i < folders.size(); ++i) {
            if (folders[i] == modFolder)
                selected = static_cast<int>(i);
        }
        testsupport::SelectListItem(dialog, IDC_CONF_MODFOLDERS, selected);
        testsupport::PostCommand(dialog, IDOK);
    });
    const INT_PTR result = g_confDlg.DoModal();
    return result == IDOK && driver.AllStepsDone() && g_confDlg.GetDoom3Folder() == doom3Folder.c_str()
        && g_confDlg.GetModFolder() == modFolder.c_str();
}

} // namespace cnrdeploy
