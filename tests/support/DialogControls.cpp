#include "DialogControls.h"

#include <commctrl.h>

namespace testsupport {

namespace {

LRESULT SendToItem(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return ::SendDlgItemMessageA(dialog, id, message, wParam, lParam);
}

void NotifyCommand(HWND dialog, int id, UINT code)
{
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

std::string ListItemText(HWND list, int item, int subItem = 0)
{
    char text[1024] = {};
    LVITEMA info {};
    info.iSubItem = subItem;
    info.pszText = text;
    info.cchTextMax = static_cast<int>(sizeof(text));
    ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info));
    return text;
}

} // namespace

std::string GetItemText(HWND dialog, int id)
{
    HWND control = ::GetDlgItem(dialog, id);
    if (!control)
        return std::string();
    const int length = ::GetWindowTextLengthA(control);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(control, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void SetItemText(HWND dialog, int id, const std::string& text)
{
    ::SetDlgItemTextA(dialog, id, text.c_str());
}

void ClickButton(HWND dialog, int id)
{
    SendToItem(dialog, id, BM_CLICK);
}

void PostCommand(HWND dialog, int id)
{
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

bool IsChecked(HWND dialog, int id)
{
    return SendToItem(dialog, id, BM_GETCHECK) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int id)
{
    HWND control = ::GetDlgItem(dialog, id);
    return control && ::IsWindowEnabled(control);
}

bool SelectComboIndex(HWND dialog, int id, int index)
{
    if (SendToItem(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index)) == CB_ERR && index != -1)
        return false;
    NotifyCommand(dialog, id, CBN_SELCHANGE);
    return true;
}

bool SelectComboItem(HWND dialog, int id, const std::string& text)
{
    const LRESULT index = SendToItem(dialog, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (index == CB_ERR)
        return false;
    return SelectComboIndex(dialog, id, static_cast<int>(index));
}

std::vector<std::string> GetComboItems(HWND dialog, int id)
{
    std::vector<std::string> items;
    const int count = static_cast<int>(SendToItem(dialog, id, CB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendToItem(dialog, id, CB_GETLBTEXTLEN, static_cast<WPARAM>(i));
        std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
        const LRESULT copied = SendToItem(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        items.push_back(text);
    }
    return items;
}

std::string GetComboSelection(HWND dialog, int id)
{
    const int selected = static_cast<int>(SendToItem(dialog, id, CB_GETCURSEL));
    if (selected < 0)
        return std::string();
    const std::vector<std::string> items = GetComboItems(dialog, id);
    return static_cast<size_t>(selected) < items.size() ? items[static_cast<size_t>(selected)] : std::string();
}

std::vector<std::string> GetListItems(HWND dialog, int id)
{
    HWND list = ::GetDlgItem(dialog, id);
    std::vector<std::string> items;
    const int count = list ? static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < count; ++i)
        items.push_back(ListItemText(list, i));
    return items;
}

int GetListItemImage(HWND dialog, int id, int item)
{
    LVITEMA info {};
    info.mask = LVIF_IMAGE;
    info.iItem = item;
    info.iImage = -1;
    if (!SendToItem(dialog, id, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info)))
        return -1;
    return info.iImage;
}

std::vector<int> GetListImages(HWND dialog, int id)
{
    std::vector<int> images;
    const int count = static_cast<int>(SendToItem(dialog, id, LVM_GETITEMCOUNT));
    for (int i = 0; i < count; ++i)
        images.push_back(GetListItemImage(dialog, id, i));
    return images;
}

std::vector<int> GetListSelection(HWND dialog, int id)
{
    std::vector<int> selected;
    int item = -1;
    for (;;) {
        item = static_cast<int>(SendToItem(dialog, id, LVM_GETNEXTITEM, static_cast<WPARAM>(item), MAKELPARAM(LVNI_SELECTED, 0)));
        if (item < 0)
            return selected;
        selected.push_back(item);
    }
}

void SelectListItem(HWND dialog, int id, int item)
{
    LVITEMA clear {};
    clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendToItem(dialog, id, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    if (item < 0)
        return;
    LVITEMA select {};
    select.state = LVIS_SELECTED | LVIS_FOCUSED;
    select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendToItem(dialog, id, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&select));
}

int GetListItemStateImage(HWND dialog, int id, int item)
{
    const LRESULT state = SendToItem(dialog, id, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK);
    return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
}

void NotifyListClick(HWND dialog, int id, int item)
{
    HWND list = ::GetDlgItem(dialog, id);
    RECT icon {};
    icon.left = LVIR_ICON;
    ::SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&icon));
    NMITEMACTIVATE click {};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = static_cast<UINT_PTR>(id);
    click.hdr.code = NM_CLICK;
    click.iItem = item;
    click.ptAction.x = (icon.left + icon.right) / 2;
    click.ptAction.y = (icon.top + icon.bottom) / 2;
    ::SendMessageA(dialog, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&click));
}

DWORD GetControlStyle(HWND dialog, int id)
{
    HWND control = ::GetDlgItem(dialog, id);
    return control ? static_cast<DWORD>(::GetWindowLongA(control, GWL_STYLE)) : 0;
}

std::string GetListItemText(HWND dialog, int id, int item, int subItem)
{
    return ListItemText(::GetDlgItem(dialog, id), item, subItem);
}

} // namespace testsupport
