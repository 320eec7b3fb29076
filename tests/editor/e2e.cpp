// The built program driven like a user: real pointer and key events through
// xdotool on a private Xvfb, menus opened with the right button, the screen
// read back by pixel, the console read from the program's output.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "mirl.h"
#include "xvfb.h"

#ifndef MIRL_PROGRAM
#error "MIRL_PROGRAM names the editor to drive"
#endif

namespace {

// The editor's window (no window manager under Xvfb) and the top face of
// the starting cube in it.
const int WinX = 400, WinY = 200, WinW = 800, WinH = 600, TopX = 400, TopY = 240;

std::string sh(const std::string &command)
{
    std::string out;
    char buf[4096];
    FILE *p = popen(command.c_str(), "r");
    for (size_t n; p && (n = fread(buf, 1, sizeof buf, p)) > 0;)
        out.append(buf, n);
    if (p)
        pclose(p);
    return out;
}

std::string slurp(const std::string &name)
{
    std::ifstream f(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Polls until done() holds or the time is up.
template <class F> bool waitFor(F done, int timeoutMs = 15000)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (; !done(); pause(25))
        if (std::chrono::steady_clock::now() > end)
            return false;
    return true;
}

void xdo(const std::string &args)
{
    sh("xdotool " + args + " 2>/dev/null");
}

void moveTo(int screenX, int screenY)
{
    xdo("mousemove " + std::to_string(screenX) + " " + std::to_string(screenY));
}

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

std::vector<Rect> visibleMenus()
{
    std::vector<Rect> menus;
    std::istringstream in(sh("xdotool search --onlyvisible --name 'freeglut menu' getwindowgeometry --shell %@"));
    Rect r;
    for (std::string l; std::getline(in, l);)
        if (!std::sscanf(l.c_str(), "X=%d", &r.x) && !std::sscanf(l.c_str(), "Y=%d", &r.y) &&
            std::sscanf(l.c_str(), "HEIGHT=%d", &r.h) == 1)
            menus.push_back(r);
    return menus;
}

using Pixel = std::array<int, 3>;
const Pixel SelectedFace = {230, 89, 64}, PlainFace = {64, 64, 128};

// The rasteriser interpolates even a constant colour: one unit apart.
bool near(const Pixel &a, const Pixel &b)
{
    return std::abs(a[0] - b[0]) <= 1 && std::abs(a[1] - b[1]) <= 1 && std::abs(a[2] - b[2]) <= 1;
}

// The whole 1600x1200 screen as RGB bytes.
struct Screen {
    std::string rgb;
    bool grab() { return (rgb = sh("import -window root -depth 8 rgb:- 2>/dev/null")).size() == 1600u * 1200 * 3; }
    Pixel win(int x, int y) const
    {
        const unsigned char *p = reinterpret_cast<const unsigned char *>(rgb.data()) + ((WinY + y) * 1600 + WinX + x) * 3;
        return {p[0], p[1], p[2]};
    }
    // Mean column of the window's pixels of a colour; -1 if hardly any.
    double meanColumn(const Pixel &colour) const
    {
        double sum = 0, n = 0;
        for (int y = 0; y < WinH; y++)
            for (int x = 0; x < WinW; x++)
                near(win(x, y), colour) ? (sum += x, n++) : 0;
        return n > 500 ? sum / n : -1;
    }
    // A point of the corner badge, given in badge units.
    Pixel badge(double bx, double by) const
    {
        return win((int)((0.15 + bx / 170.0) / 2.0 * WinW), WinH - 1 - (int)((0.1 + by / 170.0) / 2.0 * WinH));
    }
};

// The editor as a child process in a folder of its own, with the console
// dialogs: a file name is typed on its standard input.
class EditorRun {
  public:
    explicit EditorRun(const std::string &folder) : folder(folder)
    {
        int in[2];
        if (pipe(in) != 0)
            return;
        pid = fork();
        if (pid == 0) {
            dup2(in[0], 0);
            close(in[1]);
            if (chdir(folder.c_str()) != 0)
                _exit(126);
            dup2(open("out.txt", O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
            dup2(open("err.txt", O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            setenv("MIRL_CONSOLE_DIALOGS", "1", 1);
            execl(MIRL_PROGRAM, MIRL_PROGRAM, (char *)nullptr);
            _exit(127);
        }
        close(in[0]);
        input = in[1];
    }
    ~EditorRun()
    {
        if (pid > 0 && kill(pid, SIGTERM) == 0)
            waitpid(pid, nullptr, 0);
        close(input);
    }

    bool waitForWindow()
    {
        return waitFor([&] { return !(window = sh("xdotool search --onlyvisible --name 'Mirl 1.0.2' 2>/dev/null")).empty(); });
    }
    std::string output() const { return slurp(folder + "/out.txt"); }
    bool waitForOutput(const std::string &text, size_t count = 1, int timeoutMs = 15000)
    {
        return waitFor([&] {
            std::string o = output();
            size_t n = 0;
            for (size_t at = o.find(text); at != std::string::npos; at = o.find(text, at + 1))
                n++;
            return n >= count;
        }, timeoutMs);
    }
    void type(const std::string &line)
    {
        std::string l = line + "\n";
        EXPECT_EQ(write(input, l.data(), l.size()), (ssize_t)l.size());
    }
    bool exitedWith(int code)
    {
        int status = 0;
        bool gone = waitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; });
        pid = gone ? -1 : pid;
        return gone && WIFEXITED(status) && WEXITSTATUS(status) == code;
    }

    std::string folder, window;
    pid_t pid = -1;
    int input = -1;
};

// Entry rows: a 23-pixel font and 2 pixels of spacing, after a 2-pixel border.
int entryY(const Rect &menu, int entry)
{
    return menu.y + 2 + 25 * entry + 12;
}

// Opens the right-button menu at (300, 300) in the window.
bool openMenu(Rect *root)
{
    moveTo(WinX + 300, WinY + 300);
    pause(50);
    xdo("click 3");
    std::vector<Rect> menus;
    bool open = waitFor([&] { return !(menus = visibleMenus()).empty(); }, 5000);
    *root = open ? menus[0] : Rect();
    return open;
}

// Chooses entry `item` of submenu `sub` with real motion and a left click.
bool chooseItem(int sub, int item)
{
    Rect root;
    std::vector<Rect> menus;
    if (!openMenu(&root))
        return false;
    int y = entryY(root, sub);
    moveTo(root.x + 20, y); // the submenu opens to the right
    if (!waitFor([&] { return (menus = visibleMenus()).size() == 2; }, 5000))
        return false;
    Rect submenu = menus[0].x > root.x ? menus[0] : menus[1];
    moveTo(submenu.x + 20, y);
    pause(100);
    moveTo(submenu.x + 20, entryY(submenu, item));
    pause(150);
    xdo("click 1");
    return waitFor([] { return visibleMenus().empty(); }, 5000);
}

class EndToEnd : public ::testing::Test {
  protected:
    static void SetUpTestSuite()
    {
        server = startXvfb();
        setenv("DISPLAY", server.display.c_str(), 1);
    }
    static void TearDownTestSuite() { stopXvfb(server); }
    void SetUp() override
    {
        ASSERT_FALSE(server.display.empty()) << "Xvfb did not start";
        char pattern[] = "/tmp/mirl-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    static XvfbServer server;
    std::string folder;
};
XvfbServer EndToEnd::server;

TEST_F(EndToEnd, FirstFrameAClickAndTheKeys)
{
    EditorRun run(folder);
    ASSERT_TRUE(run.waitForWindow());
    EXPECT_EQ(sh("xdotool getwindowname " + run.window.substr(0, run.window.find('\n'))),
              "  Mirl 1.0.2   by Orne|Wexal\n");
    Screen s;
    ASSERT_TRUE(waitFor([&] { return s.grab() && near(s.win(TopX, TopY), SelectedFace); }, 10000))
        << testing::PrintToString(s.win(TopX, TopY));
    EXPECT_EQ(s.badge(16, 0), PlainFace);             // the backing: flat, exact
    EXPECT_EQ(s.badge(-4, 6), SelectedFace);          // the accent letter
    EXPECT_EQ(s.badge(7, 7), (Pixel{178, 178, 217})); // the l
    EXPECT_EQ(s.win(WinW - 6, 6), PlainFace);         // the meter's backing

    // A real click picks (keyboard focus follows the pointer); u undoes it.
    moveTo(WinX + TopX, WinY + TopY);
    xdo("click 1");
    xdo("key i");
    ASSERT_TRUE(run.waitForOutput("Number of Picks: (1, max 256)\n"));
    EXPECT_TRUE(waitFor([&] { return s.grab() && near(s.win(TopX, TopY), PlainFace); }));
    xdo("key u i");
    ASSERT_TRUE(run.waitForOutput("Number of Picks: (0, max 256)\n"));
    xdo("key h"); // hides the meter and shows it again
    EXPECT_TRUE(waitFor([&] { return s.grab() && s.win(WinW - 6, 6) != PlainFace; }));
    xdo("key h");
    EXPECT_TRUE(waitFor([&] { return s.grab() && s.win(WinW - 6, 6) == PlainFace; }));
    // Redo by r, Ctrl+Y and Ctrl+Shift+Z, undo by Ctrl+Z: the pick comes and goes.
    for (const char *key : {"r", "ctrl+z", "ctrl+y", "ctrl+z", "ctrl+shift+z"})
        xdo(std::string("key ") + key + " i");
    EXPECT_TRUE(run.waitForOutput("Number of Picks: (1, max 256)\n", 4));
    EXPECT_TRUE(run.waitForOutput("Number of Picks: (0, max 256)\n", 3));
}

TEST_F(EndToEnd, MenuLivePreviewSaveExitAndLoadInAFreshRun)
{
    {
        EditorRun run(folder);
        ASSERT_TRUE(run.waitForWindow());
        Rect root;
        ASSERT_TRUE(openMenu(&root));
        EXPECT_EQ(root.x, WinX + 300);
        EXPECT_EQ(root.h, 2 + 12 * 25 + 2); // twelve titles
        moveTo(WinX + 20, WinY + 20);       // a key meanwhile does nothing
        xdo("key i");
        xdo("click 1"); // a click outside closes it and runs nothing
        ASSERT_TRUE(waitFor([] { return visibleMenus().empty(); }, 5000));

        ASSERT_TRUE(chooseItem(0, 1)); // SELECT, "Select None"
        Screen s;
        ASSERT_TRUE(waitFor([&] { return s.grab() && near(s.win(TopX, TopY), PlainFace); }, 10000));
        moveTo(WinX + TopX, WinY + TopY);
        xdo("click 1"); // pick the top face
        double before = -1;
        ASSERT_TRUE(waitFor([&] { return s.grab() && (before = s.meanColumn(SelectedFace)) > 0; }, 10000));
        ASSERT_TRUE(chooseItem(2, 0)); // OBJECT Move, "Move X"
        ASSERT_TRUE(run.waitForOutput(" .o0 Working ...", 2));
        xdo("click 3"); // no menu during the preview
        pause(300);
        EXPECT_TRUE(visibleMenus().empty());
        for (int i = 0; i < 30; i++) { // right in small steps: the model follows
            moveTo(WinX + 420 + 4 * i, WinY + 420);
            pause(10);
        }
        ASSERT_TRUE(waitFor([&] { return s.grab() && s.meanColumn(SelectedFace) > before + 40; }, 10000))
            << "the model did not follow the mouse";
        EXPECT_FALSE(run.waitForOutput(" done 0o.\n", 2, 0)) << "the preview ended before the click";
        xdo("click 1");
        ASSERT_TRUE(run.waitForOutput(" done 0o.\n", 2));
        ASSERT_TRUE(chooseItem(2, 0)); // once more, left, and cancelled by Escape
        for (int i = 0; i < 10; i++)
            moveTo(WinX + 300 - 4 * i, WinY + 420);
        xdo("key Escape");
        ASSERT_TRUE(run.waitForOutput(" cancelled done 0o.\n"));
        ASSERT_TRUE(chooseItem(8, 2)); // FILE, "Save"
        ASSERT_TRUE(run.waitForOutput("file name"));
        run.type("first.mrl");
        ASSERT_TRUE(run.waitForOutput(" done 0o.\n", 4));
        ASSERT_TRUE(chooseItem(8, 8)); // FILE, "Exit"
        EXPECT_TRUE(run.exitedWith(0));
        EXPECT_EQ(run.output().find("Model Info"), std::string::npos);
    }
    std::string first = slurp(folder + "/first.mrl");
    ASSERT_GE(first.size(), 1537u);
    const char steps[] = {4, MIRL_OP_ADDCUBE, MIRL_OP_SELECT2, MIRL_OPPICK, MIRL_OP_TRANS1};
    EXPECT_EQ(first.substr(0, 5), std::string(steps, 5));
    EXPECT_GT((unsigned char)first[257 + 3], 140); // well to the right

    EditorRun run(folder);
    ASSERT_TRUE(run.waitForWindow());
    ASSERT_TRUE(chooseItem(8, 1)); // FILE, "Load"
    ASSERT_TRUE(run.waitForOutput("file name"));
    run.type("first.mrl");
    ASSERT_TRUE(run.waitForOutput(" done 0o.\n"));
    ASSERT_TRUE(chooseItem(8, 2));
    ASSERT_TRUE(run.waitForOutput("file name", 2));
    run.type("second.mrl");
    ASSERT_TRUE(run.waitForOutput(" done 0o.\n", 2));
    EXPECT_EQ(slurp(folder + "/second.mrl"), first);
}

} // namespace
