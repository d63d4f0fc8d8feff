// Works a running kolvanta.exe the way a user would, one step per run, so the
// demo script can photograph between steps. It talks to Kolvanta's windows
// from another process: buttons and combo boxes by their messages, the
// list views through memory lent inside Kolvanta's process.
//
//   demo-driver wait-main
//   demo-driver configure <DOOM 3 folder>   fill the folder, UPDATE, TEST; prints the ticks
//   demo-driver convert-map <wad> <level>    choose, Update settings; prints the settings
//   demo-driver launch <caption>             the dialog's Launch (or Copy Now) button,
//                                            waiting for what it starts to finish
//   demo-driver close-dialog <caption>
//   demo-driver open <button text> <dialog caption>
//   demo-driver close
//
// Exit code 0 when the step worked, 1 when a window is missing or a step failed,
// 2 for a bad step.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char kMainCaption[] = "Kolvanta Rev.0";
const char kConfigurationCaption[] = "Configuration";

// Kolvanta's control ids and the tick's place in its image list.
const int kConfDoom3Folder = 1000;
const int kConfRequirements = 1003;
const int kConfTest = 1004;
const int kConfUpdate = 1006;
const int kMapWad = 1007;
const int kMapLevel = 1008;
const int kMapScale = 1016;
const int kMapUpdate = 1018;
const int kImageTick = 1;

// Long enough for a whole wad's textures under Wine.
const UINT kLaunchTimeoutMs = 15 * 60 * 1000;

HWND WaitForTopLevel(const char* caption, int tenthsOfSecond = 300)
{
    for (int i = 0; i < tenthsOfSecond; ++i) {
        HWND window = ::FindWindowA(nullptr, caption);
        if (window && ::IsWindowVisible(window))
            return window;
        ::Sleep(100);
    }
    std::fprintf(stderr, "demo-driver: no window \"%s\"\n", caption);
    return nullptr;
}

bool WaitUntilGone(const char* caption)
{
    for (int i = 0; i < 300; ++i) {
        if (!::FindWindowA(nullptr, caption))
            return true;
        ::Sleep(100);
    }
    std::fprintf(stderr, "demo-driver: window \"%s\" stays open\n", caption);
    return false;
}

struct ChildSearch {
    const char* text;
    HWND found;
};

BOOL CALLBACK MatchChildText(HWND child, LPARAM context)
{
    ChildSearch* search = reinterpret_cast<ChildSearch*>(context);
    char text[256] = {};
    ::GetWindowTextA(child, text, sizeof(text));
    if (std::strcmp(text, search->text) != 0)
        return TRUE;
    search->found = child;
    return FALSE;
}

HWND FindChildText(HWND parent, const char* text)
{
    ChildSearch search { text, nullptr };
    ::EnumChildWindows(parent, MatchChildText, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A click whose handler may run for minutes (a tool started and waited for):
// returns once the handler has returned.
bool ClickAndWait(HWND dialog, int id)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, kLaunchTimeoutMs, &result) != 0;
}

std::string ItemText(HWND dialog, int id)
{
    char text[512] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

bool ChooseComboItem(HWND dialog, int id, const char* text)
{
    const LRESULT index = ::SendDlgItemMessageA(dialog, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    if (index == CB_ERR) {
        std::fprintf(stderr, "demo-driver: \"%s\" is not in the list\n", text);
        return false;
    }
    ::SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
    return true;
}

// Memory inside another process, for the list view messages that carry pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size) : m_size(size)
    {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        m_process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
        if (m_process)
            m_address = ::VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer()
    {
        if (m_address)
            ::VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
        if (m_process)
            ::CloseHandle(m_process);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Usable() const { return m_address != nullptr; }
    char* Address() const { return static_cast<char*>(m_address); }
    bool Write(size_t offset, const void* data, size_t size)
    {
        return offset + size <= m_size && ::WriteProcessMemory(m_process, Address() + offset, data, size, nullptr);
    }
    bool Read(size_t offset, void* data, size_t size)
    {
        return offset + size <= m_size && ::ReadProcessMemory(m_process, Address() + offset, data, size, nullptr);
    }

private:
    HANDLE m_process = nullptr;
    void* m_address = nullptr;
    size_t m_size;
};

struct ListItem {
    std::string text;
    int image = -1;
};

bool ReadListItem(HWND list, int item, ListItem& out)
{
    const size_t kTextOffset = sizeof(LVITEMA);
    const int kTextSize = 512;
    RemoteBuffer remote(list, kTextOffset + kTextSize);
    if (!remote.Usable())
        return false;
    LVITEMA info {};
    info.mask = LVIF_IMAGE | LVIF_TEXT;
    info.iItem = item;
    info.pszText = remote.Address() + kTextOffset;
    info.cchTextMax = kTextSize;
    if (!remote.Write(0, &info, sizeof(info)) || !::SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.Address())))
        return false;
    char text[kTextSize] = {};
    if (!remote.Read(0, &info, sizeof(info)) || !remote.Read(kTextOffset, text, kTextSize - 1))
        return false;
    out.text = text;
    out.image = info.iImage;
    return true;
}

int Configure(const char* doom3Folder)
{
    HWND frame = WaitForTopLevel(kMainCaption);
    HWND button = frame ? FindChildText(frame, "&Configure...") : nullptr;
    if (!button)
        return 1;
    ::PostMessageA(button, BM_CLICK, 0, 0);
    HWND dialog = WaitForTopLevel(kConfigurationCaption);
    if (!dialog)
        return 1;
    ::SetDlgItemTextA(dialog, kConfDoom3Folder, doom3Folder);
    ::SendMessageA(::GetDlgItem(dialog, kConfUpdate), BM_CLICK, 0, 0);
    ::SendMessageA(::GetDlgItem(dialog, kConfTest), BM_CLICK, 0, 0);

    HWND list = ::GetDlgItem(dialog, kConfRequirements);
    const int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    int ticks = 0;
    for (int i = 0; i < count; ++i) {
        ListItem item;
        if (!ReadListItem(list, i, item)) {
            std::fprintf(stderr, "demo-driver: cannot read the requirements list\n");
            return 1;
        }
        const bool tick = item.image == kImageTick;
        ticks += tick;
        std::printf("  %s %s\n", tick ? "tick " : "CROSS", item.text.c_str());
    }
    std::printf("TEST: %d ticks of %d\n", ticks, count);
    return count > 0 && ticks == count ? 0 : 1;
}

int Open(const char* buttonText, const char* caption)
{
    HWND frame = WaitForTopLevel(kMainCaption);
    HWND button = frame ? FindChildText(frame, buttonText) : nullptr;
    if (!button) {
        std::fprintf(stderr, "demo-driver: no button \"%s\"\n", buttonText);
        return 1;
    }
    ::PostMessageA(button, BM_CLICK, 0, 0);
    return WaitForTopLevel(caption) ? 0 : 1;
}

int Launch(const char* caption)
{
    HWND dialog = WaitForTopLevel(caption);
    if (!dialog)
        return 1;
    if (!ClickAndWait(dialog, IDOK)) {
        std::fprintf(stderr, "demo-driver: \"%s\" did not finish\n", caption);
        return 1;
    }
    return 0;
}

int CloseDialog(const char* caption)
{
    HWND dialog = WaitForTopLevel(caption, 10);
    if (dialog)
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDCANCEL)));
    return WaitUntilGone(caption) ? 0 : 1;
}

int ConvertMap(const char* wad, const char* level)
{
    HWND dialog = WaitForTopLevel("Convert DOOM map");
    if (!dialog || !ChooseComboItem(dialog, kMapWad, wad) || !ChooseComboItem(dialog, kMapLevel, level))
        return 1;
    ::SendMessageA(::GetDlgItem(dialog, kMapUpdate), BM_CLICK, 0, 0);
    std::printf("  wad %s, level %s, scale %s\n", wad, level, ItemText(dialog, kMapScale).c_str());
    const struct {
        int id;
        const char* option;
    } boxes[] = { { 1009, "-nowall" }, { 1010, "-noceil" }, { 1011, "-nofloor" }, { 1012, "-nomove" }, { 1013, "-noent" },
                  { 1014, "-bound" },  { 1015, "-direct" }, { 1017, "-doom" },    { 1019, "-doom2" },  { 1020, "-tnt" },
                  { 1021, "-plutonia" }, { 1022, "-custom" } };
    std::string ticked;
    for (const auto& box : boxes) {
        if (::SendDlgItemMessageA(dialog, box.id, BM_GETCHECK, 0, 0) == BST_CHECKED)
            ticked += std::string(" ") + box.option;
    }
    std::printf("  options ticked by Update settings:%s\n", ticked.empty() ? " none" : ticked.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string step = argc > 1 ? argv[1] : "";
    if (step == "wait-main")
        return WaitForTopLevel(kMainCaption) ? 0 : 1;
    if (step == "configure" && argc == 3)
        return Configure(argv[2]);
    if (step == "open" && argc == 4)
        return Open(argv[2], argv[3]);
    if (step == "convert-map" && argc == 4)
        return ConvertMap(argv[2], argv[3]);
    if (step == "launch" && argc == 3)
        return Launch(argv[2]);
    if (step == "close-dialog" && argc == 3)
        return CloseDialog(argv[2]);
    if (step == "close") {
        if (HWND frame = ::FindWindowA(nullptr, kMainCaption))
            ::PostMessageA(frame, WM_CLOSE, 0, 0);
        return WaitUntilGone(kMainCaption) ? 0 : 1;
    }
    std::fprintf(stderr, "demo-driver: unknown step \"%s\"\n", step.c_str());
    return 2;
}
