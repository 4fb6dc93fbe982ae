#include "msgbox_driver.h"

#include <richedit.h>

namespace msgbox_driver {

namespace {

struct Search {
    DWORD process;
    DWORD thread;
    HWND found;
};

BOOL CALLBACK Visit(HWND w, LPARAM p)
{
    Search* s = reinterpret_cast<Search*>(p);
    DWORD process = 0;
    DWORD thread = GetWindowThreadProcessId(w, &process);
    if (process != s->process || (s->thread && thread != s->thread))
        return TRUE;
    char cls[64];
    if (GetClassNameA(w, cls, sizeof cls) && lstrcmpA(cls, "VMsgBox") == 0 && IsWindowVisible(w)) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

std::string Text(HWND w)
{
    int n = static_cast<int>(SendMessageA(w, WM_GETTEXTLENGTH, 0, 0));
    if (n <= 0)
        return std::string();
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = static_cast<int>(SendMessageA(w, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(&s[0])));
    s.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return s;
}

std::string ClassOf(HWND w)
{
    char cls[64];
    return GetClassNameA(w, cls, sizeof cls) ? std::string(cls) : std::string();
}

RECT InClient(HWND box, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, box, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Memory in the box's process for messages that carry a pointer.
class Remote {
public:
    Remote(DWORD process, size_t size) : size_(size)
    {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
        if (process_)
            memory_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~Remote()
    {
        if (memory_)
            VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    bool ok() const { return memory_ != nullptr; }
    LPARAM address() const { return reinterpret_cast<LPARAM>(memory_); }
    bool put(const void* data) { return WriteProcessMemory(process_, memory_, data, size_, nullptr); }
    bool get(void* data) { return ReadProcessMemory(process_, memory_, data, size_, nullptr); }

private:
    HANDLE process_ = nullptr;
    void* memory_ = nullptr;
    size_t size_;
};

void ReadBold(BoxView& v)
{
    Remote remote(v.process, sizeof(CHARFORMATA));
    if (!remote.ok())
        return;
    SendMessageA(v.edit, EM_SETSEL, 0, -1);
    Remote range(v.process, sizeof(CHARRANGE));
    CHARRANGE all{0, 0};
    if (range.ok()) {
        SendMessageA(v.edit, EM_EXGETSEL, 0, range.address());
        range.get(&all);
    }
    v.controlLength = all.cpMax;
    int start = -1;
    for (int i = 0; i <= all.cpMax; ++i) {
        bool bold = false;
        if (i < all.cpMax) {
            SendMessageA(v.edit, EM_SETSEL, i, i + 1);
            CHARFORMATA f{};
            f.cbSize = sizeof f;
            remote.put(&f);
            SendMessageA(v.edit, EM_GETCHARFORMAT, SCF_SELECTION, remote.address());
            remote.get(&f);
            bold = (f.dwMask & CFM_BOLD) && (f.dwEffects & CFE_BOLD);
        }
        if (bold && start < 0)
            start = i;
        if (!bold && start >= 0) {
            v.bold.push_back({start, i});
            start = -1;
        }
    }
    SendMessageA(v.edit, EM_SETSEL, 0, 0);

    Remote para(v.process, sizeof(PARAFORMAT));
    if (para.ok()) {
        PARAFORMAT p{};
        p.cbSize = sizeof p;
        para.put(&p);
        SendMessageA(v.edit, EM_GETPARAFORMAT, 0, para.address());
        para.get(&p);
        v.rightAligned = (p.dwMask & PFM_ALIGNMENT) && p.wAlignment == PFA_RIGHT;
    }
}

struct ChildSearch {
    std::vector<HWND> children;
};

BOOL CALLBACK VisitChild(HWND w, LPARAM p)
{
    reinterpret_cast<ChildSearch*>(p)->children.push_back(w);
    return TRUE;
}

HWND FocusOf(const BoxView& v)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(v.thread, &info) && info.hwndFocus)
        return info.hwndFocus;
    return v.box;
}

}  // namespace

HWND WaitForBox(DWORD process, DWORD thread, int timeoutMs)
{
    DWORD start = GetTickCount();
    size_t settled = static_cast<size_t>(-1);
    for (;;) {
        Search s{process, thread, nullptr};
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
        // A box is placed before its buttons are made: it is ready once it
        // is placed and its children stay the same for a moment.
        if (s.found) {
            RECT r;
            GetWindowRect(s.found, &r);
            ChildSearch c;
            EnumChildWindows(s.found, VisitChild, reinterpret_cast<LPARAM>(&c));
            if (r.left > -100) {
                if (c.children.size() == settled)
                    return s.found;
                settled = c.children.size();
                Sleep(100);
                continue;
            }
        }
        if (static_cast<int>(GetTickCount() - start) > timeoutMs)
            return s.found;
        Sleep(20);
    }
}

bool ReadBox(HWND box, BoxView& v)
{
    v = BoxView();
    if (!IsWindow(box))
        return false;
    v.box = box;
    v.thread = GetWindowThreadProcessId(box, &v.process);
    v.title = Text(box);
    GetWindowRect(box, &v.window);
    GetClientRect(box, &v.client);
    HMENU menu = GetSystemMenu(box, FALSE);
    v.closeGreyed = menu && (GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));

    ChildSearch c;
    EnumChildWindows(box, VisitChild, reinterpret_cast<LPARAM>(&c));
    HWND focus = FocusOf(v);
    for (HWND w : c.children) {
        std::string cls = ClassOf(w);
        if (lstrcmpiA(cls.c_str(), "RICHEDIT") == 0 || lstrcmpiA(cls.c_str(), "EDIT") == 0 ||
            lstrcmpiA(cls.c_str(), "RichEdit20A") == 0) {
            v.edit = w;
        } else if (lstrcmpiA(cls.c_str(), "BUTTON") == 0) {
            Button b;
            b.window = w;
            b.label = Text(w);
            b.rect = InClient(box, w);
            b.result = static_cast<int>(GetWindowLongPtrA(w, GWLP_USERDATA));
            b.isDefault = (GetWindowLongA(w, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
            size_t at = 0;
            while (at < v.buttons.size() && v.buttons[at].rect.left < b.rect.left)
                ++at;
            v.buttons.insert(v.buttons.begin() + static_cast<long>(at), b);
        }
    }
    for (size_t i = 0; i < v.buttons.size(); ++i)
        if (v.buttons[i].window == focus)
            v.focused = static_cast<int>(i);
    if (v.edit) {
        v.text = Text(v.edit);
        v.editRect = InClient(box, v.edit);
        v.editStyle = static_cast<DWORD>(GetWindowLongA(v.edit, GWL_STYLE));
        v.editExStyle = static_cast<DWORD>(GetWindowLongA(v.edit, GWL_EXSTYLE));
        ReadBold(v);
    }
    return IsWindow(box) != FALSE;
}

std::string BoldText(const BoxView& v)
{
    // Control offsets count characters: a double-byte character is one, and
    // a line break one or two, as the control's length tells.
    const std::string& t = v.text;
    size_t withPairs = 0;
    for (size_t i = 0; i < t.size(); ++i, ++withPairs)
        if (IsDBCSLeadByte(static_cast<BYTE>(t[i])) && i + 1 < t.size())
            ++i;
    const bool joined = v.controlLength >= 0 && static_cast<size_t>(v.controlLength) < withPairs;
    std::vector<size_t> at;  // text offset of each control character
    for (size_t i = 0; i < t.size(); ++i) {
        at.push_back(i);
        if ((IsDBCSLeadByte(static_cast<BYTE>(t[i])) || (joined && t[i] == '\r' && t.compare(i, 2, "\r\n") == 0)) &&
            i + 1 < t.size())
            ++i;
    }
    at.push_back(t.size());
    std::string out = "|";
    for (const auto& r : v.bold) {
        size_t s = static_cast<size_t>(r.first) < at.size() ? at[static_cast<size_t>(r.first)] : t.size();
        size_t e = static_cast<size_t>(r.second) < at.size() ? at[static_cast<size_t>(r.second)] : t.size();
        // A bold line break shows nothing: the control may report the
        // break after bold text (and its closing paragraph mark) as bold.
        while (e > s && (t[e - 1] == '\r' || t[e - 1] == '\n'))
            --e;
        while (s < e && (t[s] == '\r' || t[s] == '\n'))
            ++s;
        if (e > s)
            out += t.substr(s, e - s) + "|";
    }
    return out;
}

bool ClickButton(const BoxView& v, int index)
{
    if (index < 0 || index >= static_cast<int>(v.buttons.size()))
        return false;
    return PostMessageA(v.buttons[static_cast<size_t>(index)].window, BM_CLICK, 0, 0) != FALSE;
}

void PressAltChar(const BoxView& v, char c)
{
    // What the system's translation of Alt+key gives the focused window.
    PostMessageA(FocusOf(v), WM_SYSCHAR, static_cast<unsigned char>(c), 0x20000001);
}

void PressKey(const BoxView& v, UINT virtualKey)
{
    HWND target = FocusOf(v);
    UINT scan = MapVirtualKeyA(virtualKey, 0);
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageA(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
}

void PressAltF4(const BoxView& v)
{
    HWND target = FocusOf(v);
    UINT scan = MapVirtualKeyA(VK_F4, 0);
    PostMessageA(target, WM_SYSKEYDOWN, VK_F4, 1 | (scan << 16) | 0x20000000u);
    PostMessageA(target, WM_SYSKEYUP, VK_F4, 1 | (scan << 16) | 0xE0000000u);
}

bool WaitGone(HWND box, int timeoutMs)
{
    DWORD start = GetTickCount();
    while (IsWindow(box)) {
        if (static_cast<int>(GetTickCount() - start) > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

}  // namespace msgbox_driver
