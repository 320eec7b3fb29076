// Load, Save and Export as C from the FILE menu, answered through the
// dialog seam.
#include <GL/freeglut.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "commands.h"
#include "editor.h"
#include "harness.h"
#include "history.h"
#include "testmesh.h"

class FileCommands : public ::testing::Test {
  protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/mirl-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        ASSERT_EQ(getcwd(home, sizeof home), home);
        ASSERT_EQ(chdir(folder.c_str()), 0);
        resetEditor();
    }

    void TearDown() override
    {
        ASSERT_EQ(chdir(home), 0);
        std::system(("chmod -R u+w " + folder + "; rm -rf " + folder).c_str());
    }

    static std::string slurp(const std::string &name)
    {
        std::ifstream f(name, std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }

    static void buildModel()
    {
        runCommand(1);
        Vec3 c;
        centroi(committedMesh(), 2, &c);
        WindowPoint w = projectToWindow(c);
        onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, w.x, w.y);
        runCommand(19);
        onPassiveMotion(10, 10);
        dispatchCommand(24);
        onPassiveMotion(11, 10);
        onPassiveMotion(12, 10);
        onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 12, 10);
    }

    std::string folder;
    char home[4096];
};

TEST_F(FileCommands, SaveWritesTheTypedNameAndLoadRebuildsInAFreshStart)
{
    buildModel();
    const mirlObj saved = CommandRecord;
    Mesh *expected = scratchMesh();
    copyMesh(expected, committedMesh());

    Dialogs.answers.push_back("model"); // no extension: written as typed
    EXPECT_EQ(runCommand(ItemSave), " .o0 Working ... done 0o.\n");
    ASSERT_EQ(Dialogs.asked.size(), 1u);
    EXPECT_EQ(Dialogs.asked[0], ChooseToSave);
    EXPECT_EQ(Dialogs.recorderAtChooser[0], 0);
    EXPECT_EQ(Dialogs.modeAtChooser[0], ModePick);
    std::string image = slurp("model");
    ASSERT_GE(image.size(), 1537u);
    EXPECT_EQ((unsigned char)image[0], saved.count);
    struct stat st;
    EXPECT_NE(stat("model.mrl", &st), 0);

    resetEditor(); // a fresh start
    runCommand(1);
    ASSERT_EQ(CommandHistory.count, 1);
    Dialogs.answers.push_back("model");
    runCommand(ItemLoad);
    EXPECT_EQ(Dialogs.asked[0], ChooseToLoad);
    EXPECT_EQ(Dialogs.recorderAtChooser[0], 0);
    EXPECT_EQ(std::memcmp(&CommandRecord, &saved, 1 + 2 * 256), 0);
    EXPECT_EQ(numpicks(), 1);
    EXPECT_EQ(CommandHistory.count, 0);
    EXPECT_EQ(meshDiff(*committedMesh(), *expected), "");
    EXPECT_EQ(committedVersusReplay(), "");
    // Loading resets the history: undo has nothing to take back.
    runCommand(ItemUndo);
    EXPECT_EQ(numsteps(), saved.count);
}

TEST_F(FileCommands, UnreadableFileStillResetsTheHistoryAndKeepsTheModel)
{
    runCommand(1);
    runCommand(0);
    const mirlObj record = CommandRecord;
    Dialogs.answers.push_back("missing.mrl");
    runCommand(ItemLoad);
    ASSERT_EQ(Dialogs.notices.size(), 1u);
    EXPECT_EQ(Dialogs.notices[0].title, "Unable to read from file");
    EXPECT_EQ(Dialogs.notices[0].text, "FATAL ERROR");
    EXPECT_EQ(std::memcmp(&CommandRecord, &record, sizeof record), 0);
    EXPECT_EQ(CommandHistory.count, 0);
    EXPECT_EQ(countsel(committedMesh()), 6);
    EXPECT_EQ(committedVersusReplay(), "");
}

TEST_F(FileCommands, CancelledChooserChangesNothing)
{
    runCommand(1);
    Dialogs.answers.push_back("");
    runCommand(ItemLoad);
    runCommand(ItemSave); // empty queue: cancelled as well
    EXPECT_EQ(Dialogs.asked.size(), 2u);
    EXPECT_EQ(CommandHistory.count, 1);
    EXPECT_EQ(numsteps(), 2);
    EXPECT_TRUE(Dialogs.notices.empty());
}

TEST_F(FileCommands, FailedSaveIsReportedAndKeepsTheOldFile)
{
    Dialogs.answers.push_back("keep.mrl");
    runCommand(ItemSave);
    std::string before = slurp("keep.mrl");
    runCommand(1);
    ASSERT_EQ(chmod(folder.c_str(), 0500), 0);
    Dialogs.answers.push_back("keep.mrl");
    runCommand(ItemSave);
    ASSERT_EQ(chmod(folder.c_str(), 0700), 0);
    if (geteuid() != 0) { // root writes anyway
        ASSERT_EQ(Dialogs.notices.size(), 1u);
        EXPECT_EQ(Dialogs.notices[0].title, "Unable to save to file");
        EXPECT_EQ(slurp("keep.mrl"), before);
    }
    EXPECT_EQ(numsteps(), 2);
}

TEST_F(FileCommands, ExportNamesObjectsByCounterWhateverTheOutcome)
{
    runCommand(ItemExport);
    runCommand(ItemExport);
    EXPECT_EQ(Editor.exportCounter, 2);
    std::string text = slurp("Mirljects.h");
    EXPECT_NE(text.find("mirlObj mrlj0 = {\n1,\n31,0,0,"), std::string::npos);
    EXPECT_NE(text.find("mirlObj mrlj1 = {"), std::string::npos);

    // Mirljects.h cannot be opened: reported, and the next name is used up.
    ASSERT_EQ(std::remove("Mirljects.h"), 0);
    ASSERT_EQ(mkdir("Mirljects.h", 0700), 0);
    runCommand(ItemExport);
    EXPECT_EQ(Editor.exportCounter, 3);
    ASSERT_EQ(Dialogs.notices.size(), 1u);
    EXPECT_EQ(Dialogs.notices[0].title, "Unable to open Mirljects.h file - not saving");
    EXPECT_EQ(Dialogs.notices[0].text, "FATAL ERROR");
    ASSERT_EQ(rmdir("Mirljects.h"), 0);
    runCommand(ItemExport);
    EXPECT_NE(slurp("Mirljects.h").find("mirlObj mrlj3 = {"), std::string::npos);
    EXPECT_EQ(numsteps(), 1);
    EXPECT_EQ(CommandHistory.count, 0);
}
