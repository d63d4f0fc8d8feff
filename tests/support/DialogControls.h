// Small operations on the controls of a dialog that a test drives, by control id.
//
// They send the messages a user's action would cause (a click, a selection plus
// its change notification) and read back what the dialog shows. None of them
// waits or fails a test by itself; missing controls give empty results.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

std::string GetItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);
// BM_CLICK on the button: the dialog receives the same WM_COMMAND as for a mouse click.
void ClickButton(HWND dialog, int id);
// Posts the command (for buttons whose handler ends a modal loop the test is still inside).
void PostCommand(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);

// Combo box: selects the item with that exact text (or index) and notifies the
// dialog with CBN_SELCHANGE. False when there is no such item.
bool SelectComboItem(HWND dialog, int id, const std::string& text);
bool SelectComboIndex(HWND dialog, int id, int index);
std::vector<std::string> GetComboItems(HWND dialog, int id);
std::string GetComboSelection(HWND dialog, int id);

// List view.
std::vector<std::string> GetListItems(HWND dialog, int id);
// The text of one column (sub-item) of an item; empty when absent.
std::string GetListItemText(HWND dialog, int id, int item, int subItem);
std::vector<int> GetListImages(HWND dialog, int id);
std::vector<int> GetListSelection(HWND dialog, int id);
int GetListItemImage(HWND dialog, int id, int item);
// Selects only that item (focus too); -1 clears the selection.
void SelectListItem(HWND dialog, int id, int item);
// The item's state image index (1 unchecked, 2 checked for check-box lists).
int GetListItemStateImage(HWND dialog, int id, int item);
// Notifies the dialog of a mouse click on the item (NM_CLICK with an
// NMITEMACTIVATE whose iItem and ptAction point at the item's icon).
void NotifyListClick(HWND dialog, int id, int item);
// The style bits of a control (GWL_STYLE).
DWORD GetControlStyle(HWND dialog, int id);

} // namespace testsupport
