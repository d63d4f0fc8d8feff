#include "SharedImageList.h"

#include "resource.h"

bool FillSharedImageList(CImageList& images)
{
    static const int kIcons[] = { IDI_BLANK, IDI_TICK, IDI_CROSS, IDI_FOLDER, IDI_UNCHECKED, IDI_CHECKED };
    if (!images.Create(16, 16, ILC_COLOR4 | ILC_MASK, 0, 6))
        return false;
    for (const int id : kIcons) {
        // The 16 x 16 picture of each icon, not a shrunk 32 x 32 one.
        HICON icon = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
        if (!icon)
            return false;
        const int index = images.Add(icon);
        ::DestroyIcon(icon);
        if (index < 0)
            return false;
    }
    return true;
}
