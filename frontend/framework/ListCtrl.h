// CListCtrl: a borrowed list-view control.
//
// One-line calls named after the message they send; item and column indices are
// -1 when absent. The control never owns an image list given to SetImageList
// when it has LVS_SHAREIMAGELISTS.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "Window.h"

class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    bool DeleteAllItems() const { return SendMessage(LVM_DELETEALLITEMS) != FALSE; }
    bool DeleteColumn(int column) const { return SendMessage(LVM_DELETECOLUMN, static_cast<WPARAM>(column)) != FALSE; }
    // Deletes column 0 until that fails: no column is left.
    void DeleteAllColumns() const { while (DeleteColumn(0)) {} }
    HIMAGELIST SetImageList(HIMAGELIST images, int kind) const { return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(images))); }
    int GetNextItem(int start, UINT flags) const { return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0))); }
    UINT GetItemState(int item, UINT mask) const { return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), static_cast<LPARAM>(mask))); }
    int HitTest(LVHITTESTINFO* info) const { return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(info))); }
    bool GetItem(LVITEMA* item) const { return SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(item)) != FALSE; }
    bool SetItem(const LVITEMA* item) const { return SendMessage(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(item)) != FALSE; }

    // Inserts a column; returns its index or -1.
    int InsertColumn(int column, const char* heading, int format = LVCFMT_LEFT, int width = -1) const;
    // Inserts an item with a text and an image; returns its index or -1.
    int InsertItem(int item, const char* text, int image = -1) const;
    // Sets the text of a sub-item (0 is the item itself).
    bool SetItemText(int item, int subItem, const char* text) const;
    // The text of a sub-item; empty when absent.
    CString GetItemText(int item, int subItem) const;
    // Sets the state bits selected by mask (LVIS_SELECTED, LVIS_FOCUSED, ...).
    bool SetItemState(int item, UINT state, UINT mask) const;
    // Sets the image index of an item.
    bool SetItemImage(int item, int image) const;
};
