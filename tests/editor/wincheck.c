/* What a Windows test sees of the windows on its desktop, for the tests
   that drive mirl.exe under wine (wine.sh): X tools cannot look inside
   wine's desktop.
   wincheck list           one line per visible top-level window:
                           "X Y W H CX CY<TAB>OWNER<TAB>TITLE": its frame,
                           the screen point of its client area's corner,
                           the owner's title ("-" for none), its title
   wincheck texts TITLE    the controls of the visible window TITLE, one a
                           line: "CLASS<TAB>ID<TAB>X Y W H<TAB>TEXT" (a
                           combo box's text is its chosen entry)
   Exit status 1 when TITLE is not there. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

static BOOL CALLBACK listWindow(HWND w, LPARAM unused)
{
    (void)unused;
    if (!IsWindowVisible(w))
        return TRUE;
    char title[256] = "", owner[256] = "-";
    RECT r;
    POINT client = {0, 0};
    GetWindowTextA(w, title, sizeof title);
    GetWindowRect(w, &r);
    ClientToScreen(w, &client);
    HWND o = GetWindow(w, GW_OWNER);
    if (o)
        GetWindowTextA(o, owner, sizeof owner);
    printf("%ld %ld %ld %ld %ld %ld\t%s\t%s\n", r.left, r.top, r.right - r.left, r.bottom - r.top, client.x, client.y,
           owner, title);
    return TRUE;
}

struct Found {
    const char *title;
    HWND window;
};

static BOOL CALLBACK findWindow(HWND w, LPARAM f)
{
    struct Found *found = (struct Found *)f;
    char title[256] = "";
    GetWindowTextA(w, title, sizeof title);
    if (IsWindowVisible(w) && strcmp(title, found->title) == 0) {
        found->window = w;
        return FALSE;
    }
    return TRUE;
}

static BOOL CALLBACK listControl(HWND w, LPARAM unused)
{
    (void)unused;
    char cls[64] = "", text[512] = "";
    RECT r;
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, text, sizeof text);
    LRESULT chosen = strcmp(cls, "ComboBox") == 0 ? SendMessageW(w, CB_GETCURSEL, 0, 0) : CB_ERR;
    wchar_t entry[512];
    if (chosen != CB_ERR && SendMessageW(w, CB_GETLBTEXTLEN, chosen, 0) < 512 &&
        SendMessageW(w, CB_GETLBTEXT, chosen, (LPARAM)entry) != CB_ERR)
        WideCharToMultiByte(CP_UTF8, 0, entry, -1, text, sizeof text, NULL, NULL);
    GetWindowRect(w, &r);
    printf("%s\t%d\t%ld %ld %ld %ld\t%s\n", cls, GetDlgCtrlID(w), r.left, r.top, r.right - r.left, r.bottom - r.top,
           text);
    return TRUE;
}

int main(int argc, char **argv)
{
    if (argc == 2 && strcmp(argv[1], "list") == 0) {
        EnumWindows(listWindow, 0);
        return 0;
    }
    if (argc == 3 && strcmp(argv[1], "texts") == 0) {
        struct Found found = {argv[2], NULL};
        EnumWindows(findWindow, (LPARAM)&found);
        if (!found.window)
            return 1;
        EnumChildWindows(found.window, listControl, 0);
        return 0;
    }
    fprintf(stderr, "usage: wincheck list | texts TITLE\n");
    return 2;
}
