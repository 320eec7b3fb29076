// The built program driven like a user: real pointer and key events through
// xdotool on a private Xvfb, menus opened with the right button, the screen
// read back by pixel, the console read from the program's output.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "xvfb.h"

#ifndef MIRL_PROGRAM
#error "MIRL_PROGRAM names the editor to drive"
#endif

using Clock = std::chrono::steady_clock;

// Window placement of the editor (no window manager under Xvfb).
static const int WinX = 400, WinY = 200, WinW = 800, WinH = 600;

static std::string sh(const std::string &command)
{
    std::string out;
    FILE *p = popen(command.c_str(), "r");
    if (!p)
        return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    pclose(p);
    return out;
}

static std::string slurp(const std::string &name)
{
    std::ifstream f(name, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

static void pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Polls until the predicate holds or the time is up.
template <class F> static bool waitFor(F done, int timeoutMs = 15000)
{
    auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < end) {
        if (done())
            return true;
        pause(25);
    }
    return done();
}

static void xdo(const std::string &args)
{
    sh("xdotool " + args + " 2>/dev/null");
}

// Pointer to a window position of the editor.
static void pointTo(int x, int y)
{
    xdo("mousemove " + std::to_string(WinX + x) + " " + std::to_string(WinY + y));
}

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

static Rect geometry(const std::string &id)
{
    Rect r;
    std::string g = sh("xdotool getwindowgeometry --shell " + id + " 2>/dev/null");
    std::sscanf(g.c_str() + g.find("X="), "X=%d", &r.x);
    std::sscanf(g.c_str() + g.find("Y="), "Y=%d", &r.y);
    std::sscanf(g.c_str() + g.find("WIDTH="), "WIDTH=%d", &r.w);
    std::sscanf(g.c_str() + g.find("HEIGHT="), "HEIGHT=%d", &r.h);
    return r;
}

static std::vector<Rect> visibleMenus()
{
    std::vector<Rect> menus;
    std::istringstream ids(sh("xdotool search --onlyvisible --name 'freeglut menu' 2>/dev/null"));
    std::string id;
    while (ids >> id)
        menus.push_back(geometry(id));
    return menus;
}

struct Pixel {
    int r, g, b;
    bool operator==(const Pixel &o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Pixel &o) const { return !(*this == o); }
};

static std::ostream &operator<<(std::ostream &s, const Pixel &p)
{
    return s << p.r << "," << p.g << "," << p.b;
}

// The rasteriser interpolates even a constant colour: allow one unit.
static bool near(const Pixel &p, const Pixel &want)
{
    return std::abs(p.r - want.r) <= 1 && std::abs(p.g - want.g) <= 1 && std::abs(p.b - want.b) <= 1;
}

// The whole screen as RGB bytes.
struct Screen {
    int w = 0, h = 0;
    std::string rgb;
    bool grab()
    {
        std::string file = "/tmp/mirl-e2e-shot-" + std::to_string(getpid()) + ".rgb";
        sh("import -window root -depth 8 rgb:" + file + " 2>/dev/null");
        rgb = slurp(file);
        std::remove(file.c_str());
        w = 1600;
        h = 1200;
        return rgb.size() == (size_t)w * h * 3;
    }
    // A pixel of the editor window.
    Pixel at(int x, int y) const { return screenAt(WinX + x, WinY + y); }
    Pixel screenAt(int x, int y) const
    {
        size_t i = ((size_t)y * w + x) * 3;
        return {(unsigned char)rgb[i], (unsigned char)rgb[i + 1], (unsigned char)rgb[i + 2]};
    }
};

// Mean column of the pixels of a colour inside the editor window; -1 if none.
static double meanColumn(const Screen &s, const Pixel &colour)
{
    double sum = 0;
    long n = 0;
    for (int y = 0; y < WinH; y++)
        for (int x = 0; x < WinW; x++)
            if (near(s.at(x, y), colour)) {
                sum += x;
                n++;
            }
    return n > 500 ? sum / n : -1;
}

// Window pixel of a point of the corner badge given in badge units.
static void badgePoint(double bx, double by, int *x, int *y)
{
    *x = (int)((-0.85 + bx / 170.0 + 1.0) / 2.0 * WinW);
    *y = WinH - 1 - (int)((-0.9 + by / 170.0 + 1.0) / 2.0 * WinH);
}

// The editor as a child process in a folder of its own. With the console
// dialogs a file name is typed on its standard input; otherwise it shows
// its GTK dialogs.
class EditorRun {
  public:
    explicit EditorRun(const std::string &folder, bool consoleDialogs = true) : folder(folder)
    {
        int in[2];
        if (pipe(in) != 0)
            return;
        pid = fork();
        if (pid == 0) {
            dup2(in[0], 0);
            close(in[0]);
            close(in[1]);
            if (chdir(folder.c_str()) != 0)
                _exit(126);
            int out = open("out.txt", O_WRONLY | O_CREAT | O_TRUNC, 0600);
            int err = open("err.txt", O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(out, 1);
            dup2(err, 2);
            if (consoleDialogs)
                setenv("MIRL_CONSOLE_DIALOGS", "1", 1);
            else
                unsetenv("MIRL_CONSOLE_DIALOGS");
            execl(MIRL_PROGRAM, MIRL_PROGRAM, (char *)nullptr);
            _exit(127);
        }
        close(in[0]);
        input = in[1];
    }

    ~EditorRun()
    {
        if (pid > 0 && !exited) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        if (input >= 0)
            close(input);
    }

    bool waitForWindow()
    {
        return waitFor([&] {
            window = sh("xdotool search --onlyvisible --name 'Mirl 1.0.2' 2>/dev/null");
            return !window.empty();
        });
    }

    std::string output() const { return slurp(folder + "/out.txt"); }

    bool waitForOutput(const std::string &text, size_t count = 1)
    {
        return waitFor([&] {
            std::string o = output();
            size_t n = 0;
            for (size_t at = o.find(text); at != std::string::npos; at = o.find(text, at + 1))
                n++;
            return n >= count;
        });
    }

    void type(const std::string &line)
    {
        std::string l = line + "\n";
        ssize_t w = write(input, l.data(), l.size());
        (void)w;
    }

    // Waits for the process to end and returns its exit status, -1 if not.
    int waitExit(int timeoutMs)
    {
        int status = 0;
        bool done = waitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, timeoutMs);
        if (!done)
            return -1;
        exited = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    }

    std::string folder, window;
    pid_t pid = -1;
    int input = -1;
    bool exited = false;
};

// Opens the right-button menu at a window position; the root menu.
static bool openMenu(int x, int y, Rect *root)
{
    pointTo(x, y);
    pause(50);
    xdo("click 3");
    bool shown = waitFor([&] { return !visibleMenus().empty(); }, 5000);
    if (!shown)
        return false;
    std::vector<Rect> menus = visibleMenus();
    *root = menus[0];
    return true;
}

// Entry rows: 23-pixel font and 2 pixels of spacing, after a 2-pixel border.
static int entryY(const Rect &menu, int entry)
{
    return menu.y + 2 + 25 * entry + 12;
}

// Chooses entry `item` of submenu `sub` of the root menu with real motion
// and a left click.
static bool chooseItem(int sub, int item, int atX = 300, int atY = 300)
{
    Rect root;
    if (!openMenu(atX, atY, &root))
        return false;
    int y = entryY(root, sub);
    xdo("mousemove " + std::to_string(root.x + 20) + " " + std::to_string(y));
    Rect submenu;
    bool opened = waitFor(
        [&] {
            for (const Rect &m : visibleMenus())
                if (m.x >= root.x + root.w - 2 && m.y <= y && y < m.y + m.h) {
                    submenu = m;
                    return true;
                }
            return false;
        },
        5000);
    if (!opened)
        return false;
    xdo("mousemove " + std::to_string(submenu.x + 20) + " " + std::to_string(y));
    pause(100);
    xdo("mousemove " + std::to_string(submenu.x + 20) + " " + std::to_string(entryY(submenu, item)));
    pause(150);
    xdo("click 1");
    return waitFor([] { return visibleMenus().empty(); }, 5000);
}

class EndToEnd : public ::testing::Test {
  protected:
    static void SetUpTestSuite()
    {
        server = startXvfb();
        ASSERT_FALSE(server.display.empty());
        setenv("DISPLAY", server.display.c_str(), 1);
    }

    static void TearDownTestSuite() { stopXvfb(server); }

    void SetUp() override
    {
        ASSERT_FALSE(server.display.empty());
        char pattern[] = "/tmp/mirl-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }

    void TearDown() override { std::system(("rm -rf " + folder).c_str()); }

    static XvfbServer server;
    std::string folder;
};

XvfbServer EndToEnd::server;

static const Pixel SelectedFace = {230, 89, 64};
static const Pixel PlainFace = {64, 64, 128};
// The top face of the starting cube in the first view.
static const int TopX = 400, TopY = 240;

TEST_F(EndToEnd, WindowTitlePlacementAndFirstFrame)
{
    EditorRun run(folder);
    ASSERT_TRUE(run.waitForWindow());
    std::string id = run.window.substr(0, run.window.find('\n'));
    EXPECT_EQ(sh("xdotool getwindowname " + id), "  Mirl 1.0.2   by Orne|Wexal\n");
    Rect g = geometry(id);
    EXPECT_EQ(g.x, WinX);
    EXPECT_EQ(g.y, WinY);
    EXPECT_EQ(g.w, WinW);
    EXPECT_EQ(g.h, WinH);
    ASSERT_TRUE(run.waitForOutput("  This is mirl, a simple 3d modeller for demoscene intros.\n"));

    Screen s;
    ASSERT_TRUE(waitFor([&] { return s.grab() && near(s.at(TopX, TopY), SelectedFace); }, 10000))
        << s.at(TopX, TopY);
    Pixel corner = s.at(2, 2);
    EXPECT_TRUE((corner == Pixel{25, 25, 25}) || (corner == Pixel{26, 26, 26})) << corner;
    int bx, by;
    badgePoint(16, 0, &bx, &by);
    EXPECT_EQ(s.at(bx, by), PlainFace); // the badge backing: flat, exact
    badgePoint(-4, 6, &bx, &by);
    EXPECT_EQ(s.at(bx, by), SelectedFace); // the accent letter
    badgePoint(7, 7, &bx, &by);
    EXPECT_EQ(s.at(bx, by), (Pixel{178, 178, 217})); // the l
}

TEST_F(EndToEnd, RightButtonMenuWithTwelveTitlesAndARealChoice)
{
    EditorRun run(folder);
    ASSERT_TRUE(run.waitForWindow());
    Rect root;
    ASSERT_TRUE(openMenu(300, 300, &root));
    EXPECT_EQ(root.x, WinX + 300);
    EXPECT_EQ(root.y, WinY + 300);
    EXPECT_EQ(root.h, 2 + 12 * 25 + 2); // twelve entries
    // Menus draw once the pointer is over them; then every row shows text.
    xdo("mousemove " + std::to_string(root.x + 10) + " " + std::to_string(root.y + 3));
    Screen s;
    auto inkedRows = [&] {
        Pixel background = s.screenAt(root.x + root.w - 4, entryY(root, 11));
        int rows = 0;
        for (int e = 0; e < 12; e++) {
            int ink = 0;
            for (int x = root.x + 4; x < root.x + 100; x++)
                for (int dy = -6; dy <= 6; dy++)
                    ink += s.screenAt(x, entryY(root, e) + dy) != background;
            rows += ink > 20;
        }
        return rows;
    };
    EXPECT_TRUE(waitFor([&] { return s.grab() && inkedRows() == 12; }, 5000)) << inkedRows() << " rows show text";
    // Click outside: the menu closes and nothing runs.
    xdo("mousemove " + std::to_string(WinX + 20) + " " + std::to_string(WinY + 20) + " click 1");
    ASSERT_TRUE(waitFor([] { return visibleMenus().empty(); }, 5000));

    // SELECT, "Select None": the top face turns to the plain colour.
    ASSERT_TRUE(chooseItem(0, 1));
    ASSERT_TRUE(run.waitForOutput(" .o0 Working ... done 0o.\n"));
    ASSERT_TRUE(waitFor([&] { return s.grab() && near(s.at(TopX, TopY), PlainFace); }, 10000))
        << s.at(TopX, TopY);
    // The menu is attached again after the command.
    ASSERT_TRUE(chooseItem(8, 5)); // FILE, "Restart"
    ASSERT_TRUE(run.waitForOutput(" .o0 Working ... done 0o.\n", 2));
    ASSERT_TRUE(waitFor([&] { return s.grab() && near(s.at(TopX, TopY), SelectedFace); }, 10000));
}

TEST_F(EndToEnd, KeysIAndUWriteTheirConsoleLines)
{
    EditorRun run(folder);
    ASSERT_TRUE(run.waitForWindow());
    pointTo(200, 200); // keyboard focus follows the pointer without a manager
    xdo("key i");
    ASSERT_TRUE(run.waitForOutput("Number of Selected Faces: (6)\n\n done 0o.\n"));
    std::string out = run.output();
    EXPECT_NE(out.find(" .o0 Working ...\n\nModel Info:\nVertices (8, max 250000)  Faces (6, max 250000)\n"
                       "Number of Modelling commands: (0)\nNumber of Mirl Commands: (1, max 256)\n"
                       "Number of Picks: (0, max 256)\n"),
              std::string::npos);
    // A pick by a real click, then 'u' takes it back.
    pointTo(TopX, TopY);
    xdo("click 1");
    xdo("key i");
    ASSERT_TRUE(run.waitForOutput("Number of Picks: (1, max 256)\n"));
    xdo("key u");
    ASSERT_TRUE(run.waitForOutput(" .o0 Working ... done 0o.\n"));
    xdo("key i");
    ASSERT_TRUE(run.waitForOutput("Number of Picks: (0, max 256)\n", 2));
    EXPECT_NE(run.output().find("Number of Mirl Commands: (1, max 256)\nNumber of Picks: (0, max 256)\n"
                                "Number of Selected Faces: (6)\n\n done 0o.\n",
                                out.size()),
              std::string::npos);
}

TEST_F(EndToEnd, LivePreviewFollowsTheMouseAndCommitsOnClick)
{
    EditorRun run(folder);
    ASSERT_TRUE(run.waitForWindow());
    Screen s;
    double before = -1;
    ASSERT_TRUE(waitFor([&] { return s.grab() && (before = meanColumn(s, SelectedFace)) > 0; }, 10000));
    ASSERT_TRUE(chooseItem(2, 0)); // OBJECT Move, "Move X"
    ASSERT_TRUE(run.waitForOutput(" .o0 Working ..."));
    // No menu during the preview.
    xdo("click 3");
    pause(300);
    EXPECT_TRUE(visibleMenus().empty());
    // Move right in small steps: the cube follows to the right.
    for (int i = 0; i < 30; i++) {
        pointTo(420 + 4 * i, 420);
        pause(10);
    }
    ASSERT_TRUE(waitFor([&] { return s.grab() && meanColumn(s, SelectedFace) > before + 40; }, 10000))
        << "the cube did not follow the mouse";
    EXPECT_EQ(run.output().find("done"), std::string::npos);
    xdo("click 1");
    ASSERT_TRUE(run.waitForOutput(" done 0o.\n"));
    // The record holds the move with the parameter that was shown.
    ASSERT_TRUE(chooseItem(8, 2)); // FILE, "Save"
    ASSERT_TRUE(run.waitForOutput("file name"));
    run.type("moved.mrl");
    ASSERT_TRUE(waitFor([&] { return slurp(folder + "/moved.mrl").size() >= 1537; }));
    std::string image = slurp(folder + "/moved.mrl");
    EXPECT_EQ(image[0], 2);
    EXPECT_EQ(image[2], 9);
    EXPECT_GT((unsigned char)image[257 + 1], 140); // well to the right of 0
}

TEST_F(EndToEnd, SaveThenLoadInAFreshRunGivesTheSameRecord)
{
    {
        EditorRun run(folder);
        ASSERT_TRUE(run.waitForWindow());
        ASSERT_TRUE(chooseItem(0, 1)); // Select None
        ASSERT_TRUE(run.waitForOutput(" done 0o.\n"));
        pointTo(TopX, TopY);
        xdo("click 1");              // pick the top face
        ASSERT_TRUE(chooseItem(4, 1)); // FACES, "Extrude Normal"
        ASSERT_TRUE(run.waitForOutput(" done 0o.\n", 2));
        ASSERT_TRUE(chooseItem(8, 2)); // FILE, "Save"
        ASSERT_TRUE(run.waitForOutput("file name"));
        run.type("first.mrl");
        ASSERT_TRUE(run.waitForOutput(" done 0o.\n", 3));
    }
    std::string first = slurp(folder + "/first.mrl");
    ASSERT_GE(first.size(), 1537u);
    EXPECT_EQ(first[0], 5);
    EXPECT_EQ(first.substr(1, 5), std::string("\x1f\x14\x32\x1d\x0f", 5));

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

// The first visible top-level window with this exact name.
static bool waitForWindowNamed(const std::string &name, Rect *r)
{
    return waitFor([&] {
        std::istringstream ids(sh("xdotool search --onlyvisible --name '^" + name + "$' 2>/dev/null"));
        std::string id;
        if (!(ids >> id))
            return false;
        *r = geometry(id);
        return true;
    });
}

TEST_F(EndToEnd, GtkChooserAndModalNoticeBox)
{
    {
        std::ofstream shortFile(folder + "/short.mrl");
        shortFile << "short";
    }
    EditorRun run(folder, false);
    ASSERT_TRUE(run.waitForWindow());
    ASSERT_TRUE(chooseItem(8, 1)); // FILE, "Load"
    Rect chooser;
    ASSERT_TRUE(waitForWindowNamed("Load mirl object", &chooser));
    // Keyboard focus follows the pointer: type the name into the chooser.
    xdo("mousemove " + std::to_string(chooser.x + chooser.w / 2) + " " + std::to_string(chooser.y + chooser.h / 2));
    pause(200);
    xdo("type short.mrl");
    pause(200);
    xdo("key Return");
    // The file is too short: a modal box titled with the message.
    Rect box;
    ASSERT_TRUE(waitForWindowNamed("Not a complete mirl object", &box));
    pause(300);
    EXPECT_EQ(run.output().find("done"), std::string::npos); // waits for OK
    xdo("mousemove " + std::to_string(box.x + box.w / 2) + " " + std::to_string(box.y + box.h - 18) + " click 1");
    ASSERT_TRUE(run.waitForOutput(" .o0 Working ... done 0o.\n"));

    // Save takes a typed new name, written exactly as typed.
    ASSERT_TRUE(chooseItem(8, 2)); // FILE, "Save"
    ASSERT_TRUE(waitForWindowNamed("Save mirl object", &chooser));
    xdo("mousemove " + std::to_string(chooser.x + chooser.w / 2) + " " + std::to_string(chooser.y + chooser.h / 2));
    pause(200);
    xdo("type typed-name");
    pause(200);
    xdo("key Return");
    ASSERT_TRUE(run.waitForOutput(" .o0 Working ... done 0o.\n", 2));
    std::string image = slurp(folder + "/typed-name");
    ASSERT_GE(image.size(), 1537u);
    EXPECT_EQ(image.substr(0, 2), std::string("\x01\x1f", 2));
}

TEST_F(EndToEnd, ExitEndsWithStatusZeroAndNoEndMessage)
{
    EditorRun run(folder);
    ASSERT_TRUE(run.waitForWindow());
    ASSERT_TRUE(chooseItem(8, 8)); // FILE, "* Exit *"
    EXPECT_EQ(run.waitExit(10000), 0);
    std::string out = run.output();
    const std::string working = " .o0 Working ...";
    ASSERT_GE(out.size(), working.size());
    EXPECT_EQ(out.substr(out.size() - working.size()), working);
}
