#include "model/FileManager.h"

#include "platform/core/Utf8.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::u16string u16(const std::string& s)
{
    return platform::from_utf8(s);
}

std::string u8(const std::u16string& s)
{
    return platform::to_utf8(s);
}

bool exists(const std::string& path)
{
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

void make_read_only(const std::string& path)
{
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::remove);
}

struct ProgressCall {
    std::string name;
    std::string second;
    double file;
    double total;
};

// Answers every question with a scripted code and records what it was asked.
class ScriptedManager : public FileManager {
public:
    Answer overwrite = Answer::yes;
    Answer overwrite_read_only = Answer::yes;
    Answer delete_read_only = Answer::yes;
    Answer move_read_only = Answer::yes;
    bool go_on_after_error = false;

    int overwrite_asked = 0;
    int overwrite_read_only_asked = 0;
    int delete_read_only_asked = 0;
    int move_read_only_asked = 0;
    std::vector<std::string> errors;
    std::vector<ProgressCall> progress;
    // Called on every progress step; false stops the operation.
    std::function<bool(const ProgressCall&)> on_step;

    Answer on_overwrite(const std::u16string&, const std::u16string&) override
    {
        ++overwrite_asked;
        return overwrite;
    }

    Answer on_overwrite_read_only(const std::u16string&, const std::u16string&) override
    {
        ++overwrite_read_only_asked;
        return overwrite_read_only;
    }

    Answer on_delete_read_only(const std::u16string&) override
    {
        ++delete_read_only_asked;
        return delete_read_only;
    }

    Answer on_move_read_only(const std::u16string&, const std::u16string&) override
    {
        ++move_read_only_asked;
        return move_read_only;
    }

    bool on_recursive_operation_error(const std::u16string& s, const std::u16string&) override
    {
        return note("recursive " + u8(s));
    }

    bool on_self_operation_error(const std::u16string& s, const std::u16string&) override
    {
        return note("self " + u8(s));
    }

    bool on_delete_error(const std::u16string& path) override { return note("delete " + u8(path)); }

    bool on_copy_error(const std::u16string& s, const std::u16string&) override
    {
        return note("copy " + u8(s));
    }

    bool on_move_error(const std::u16string& s, const std::u16string&) override
    {
        return note("move " + u8(s));
    }

    bool on_progress(
        const std::u16string& name, const std::u16string& second, double file, double total) override
    {
        progress.push_back({ u8(name), u8(second), file, total });
        return on_step ? on_step(progress.back()) : true;
    }

private:
    bool note(std::string error)
    {
        errors.push_back(std::move(error));
        return go_on_after_error;
    }
};

class FileManagerTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return dir.file(name); }

    std::u16string upath(const std::string& name) const { return u16(dir.file(name)); }

    std::string write(const std::string& name, const std::string& bytes) const
    {
        return dir.write(name, bytes);
    }

    std::string mkdir(const std::string& name) const
    {
        fs::create_directories(path(name));
        return path(name);
    }

    test::TempDir dir;
};

// Which question a row asks, and the operation that asks it of two items a and b.
enum class Question { Overwrite, OverwriteReadOnly, DeleteReadOnly, MoveReadOnly };

struct AnswerCase {
    Question question;
    FileManager::Answer answer;
    int asked; // over the two items
    bool done; // both items were acted on (else neither)
    bool result;
};

class AnswerCodes : public FileManagerTest, public ::testing::WithParamInterface<AnswerCase> {
protected:
    // Sets up a and b for the question and runs the operation.
    bool run(ScriptedManager& manager, Question question)
    {
        fs::remove_all(path("src"));
        fs::remove_all(path("dst"));
        write("src/a", "new a");
        write("src/b", "new b");
        mkdir("dst");
        FileManager::PathList items { upath("src/a"), upath("src/b") };
        switch (question) {
        case Question::Overwrite:
        case Question::OverwriteReadOnly:
            write("dst/a", "old");
            write("dst/b", "old");
            if (question == Question::OverwriteReadOnly) {
                make_read_only(path("dst/a"));
                make_read_only(path("dst/b"));
            }
            return manager.copy_files(items, upath("dst"));
        case Question::DeleteReadOnly:
            make_read_only(path("src/a"));
            make_read_only(path("src/b"));
            return manager.delete_files(items);
        case Question::MoveReadOnly:
            make_read_only(path("src/a"));
            make_read_only(path("src/b"));
            return manager.move_files(items, upath("dst"));
        }
        return false;
    }

    static int asked(const ScriptedManager& manager, Question question)
    {
        switch (question) {
        case Question::Overwrite:
            return manager.overwrite_asked;
        case Question::OverwriteReadOnly:
            return manager.overwrite_read_only_asked;
        case Question::DeleteReadOnly:
            return manager.delete_read_only_asked;
        case Question::MoveReadOnly:
            return manager.move_read_only_asked;
        }
        return -1;
    }

    // How many of a and b were acted on.
    int acted_on(Question question)
    {
        int count = 0;
        for (std::string name : { "a", "b" }) {
            switch (question) {
            case Question::Overwrite:
            case Question::OverwriteReadOnly:
                count += test::read_file(path("dst/" + name)) == "new " + name;
                break;
            case Question::DeleteReadOnly:
                count += !exists(path("src/" + name));
                break;
            case Question::MoveReadOnly:
                count
                    += !exists(path("src/" + name)) && test::read_file(path("dst/" + name)) == "new " + name;
                break;
            }
        }
        return count;
    }
};

TEST_P(AnswerCodes, SteerTheOperationAndStand)
{
    const AnswerCase& c = GetParam();
    ScriptedManager manager;
    switch (c.question) {
    case Question::Overwrite:
        manager.overwrite = c.answer;
        break;
    case Question::OverwriteReadOnly:
        manager.overwrite_read_only = c.answer;
        break;
    case Question::DeleteReadOnly:
        manager.delete_read_only = c.answer;
        break;
    case Question::MoveReadOnly:
        manager.move_read_only = c.answer;
        break;
    }
    EXPECT_EQ(run(manager, c.question), c.result);
    EXPECT_EQ(asked(manager, c.question), c.asked);
    EXPECT_EQ(acted_on(c.question), c.done ? 2 : 0);

    // "All" and "skip all" stand for the manager's next operations too; other answers ask again.
    bool standing = c.answer == FileManager::Answer::all || c.answer == FileManager::Answer::skip_all;
    EXPECT_EQ(run(manager, c.question), c.result);
    EXPECT_EQ(asked(manager, c.question), standing ? c.asked : 2 * c.asked);
}

std::vector<AnswerCase> answer_cases()
{
    std::vector<AnswerCase> cases;
    for (Question q : { Question::Overwrite, Question::OverwriteReadOnly, Question::DeleteReadOnly,
             Question::MoveReadOnly }) {
        cases.push_back({ q, FileManager::Answer::yes, 2, true, true });
        cases.push_back({ q, FileManager::Answer::skip, 2, false, true });
        cases.push_back({ q, FileManager::Answer::all, 1, true, true });
        cases.push_back({ q, FileManager::Answer::skip_all, 1, false, true });
        cases.push_back({ q, FileManager::Answer::abort, 1, false, false });
        cases.push_back({ q, FileManager::Answer(7), 2, true, true }); // an unknown code goes ahead
    }
    return cases;
}

std::string answer_case_name(const ::testing::TestParamInfo<AnswerCase>& info)
{
    const char* questions[] = { "Overwrite", "OverwriteReadOnly", "DeleteReadOnly", "MoveReadOnly" };
    return questions[static_cast<int>(info.param.question)] + std::string("Answer")
        + std::to_string(static_cast<int>(info.param.answer));
}

INSTANTIATE_TEST_SUITE_P(Questions, AnswerCodes, ::testing::ValuesIn(answer_cases()), answer_case_name);

TEST_F(FileManagerTest, BaseClassAbortsDeleteAtReadOnlyFile)
{
    write("x", "x");
    write("ro", "ro");
    write("y", "y");
    make_read_only(path("ro"));
    FileManager manager;
    EXPECT_FALSE(manager.delete_files({ upath("x"), upath("ro"), upath("y") }));
    EXPECT_FALSE(exists(path("x")));
    EXPECT_TRUE(exists(path("ro")));
    EXPECT_TRUE(exists(path("y")));
}

TEST_F(FileManagerTest, BaseClassStopsAtFirstError)
{
    write("dst/b", "b");
    FileManager manager;
    // The first item is missing: its copy error stops the list before b.
    write("b", "new b");
    EXPECT_FALSE(manager.copy_files({ upath("missing"), upath("b") }, upath("dst")));
    EXPECT_EQ(test::read_file(path("dst/b")), "b");
}

struct TargetCase {
    const char* name;
    std::vector<std::string> items;
    std::string destination;
    std::string error; // "" when the copy is allowed
};

class TargetChecks : public FileManagerTest, public ::testing::WithParamInterface<TargetCase> { };

TEST_P(TargetChecks, RefuseSelfAndRecursiveTargets)
{
    const TargetCase& c = GetParam();
    write("a/b/file", "1");
    write("a/b/inner/file", "2");
    mkdir("a/bc");
    fs::create_directory_symlink(path("a"), path("link_to_a"));
    fs::create_directory_symlink(path("a/b"), path("link_to_b"));

    for (bool move : { false, true }) {
        ScriptedManager manager;
        FileManager::PathList items;
        for (auto& item : c.items)
            items.push_back(upath(item));
        bool result = move ? manager.move_files(items, upath(c.destination))
                           : manager.copy_files(items, upath(c.destination));
        if (c.error.empty()) {
            EXPECT_TRUE(result) << c.name;
            EXPECT_TRUE(manager.errors.empty()) << c.name << " " << manager.errors.front();
            EXPECT_EQ(test::read_file(path("a/bc/b/file")), "1") << c.name;
            EXPECT_EQ(move, !exists(path("a/b"))) << c.name;
            if (move) {
                fs::rename(path("a/bc/b"), path("a/b"));
                continue;
            }
            fs::remove_all(path("a/bc/b"));
            continue;
        }
        EXPECT_FALSE(result) << c.name;
        ASSERT_EQ(manager.errors.size(), 1u) << c.name;
        EXPECT_EQ(manager.errors[0], c.error + " " + path(c.items.back())) << c.name;
        EXPECT_TRUE(manager.progress.empty()) << c.name;
        // Nothing copied or moved anywhere.
        EXPECT_EQ(test::read_file(path("a/b/file")), "1") << c.name;
        EXPECT_FALSE(exists(path("a/b/b"))) << c.name;
        EXPECT_FALSE(exists(path("a/b/inner/b"))) << c.name;
        EXPECT_FALSE(exists(path("a/b/inner/bc"))) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, TargetChecks,
    ::testing::Values(TargetCase { "file onto itself", { "a/b/file" }, "a/b", "self" },
        TargetCase { "folder onto itself", { "a/b" }, "a", "self" },
        TargetCase { "folder into itself", { "a/b" }, "a/b", "recursive" },
        TargetCase { "folder into its sub-folder", { "a/b" }, "a/b/inner", "recursive" },
        TargetCase { "second item refused", { "a/bc", "a/b" }, "a/b/inner", "recursive" },
        TargetCase { "onto itself through a link", { "a/b/file" }, "link_to_b", "self" },
        TargetCase { "into itself through a link", { "link_to_a/b" }, "a/b/inner", "recursive" },
        TargetCase { "into a sibling that shares a prefix", { "a/b" }, "a/bc", "" }),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (!isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST_F(FileManagerTest, AMacroNamesTheFolderItStandsFor)
{
    write("a/b/file", "1");
    mkdir("a/b/inner");
    test::EnvironmentOverride app("ORVANTA_APP_PATH", dir.path().c_str());
    ScriptedManager manager;
    EXPECT_FALSE(manager.copy_files({ u"%app_path%/a/b/file" }, upath("a/b")));
    EXPECT_FALSE(manager.move_files({ upath("a/b") }, u"%app_path%\\a\\b\\inner"));
    EXPECT_EQ(manager.errors, (std::vector<std::string> { "self %app_path%/a/b/file", "recursive " + path("a/b") }));
    EXPECT_EQ(test::read_file(path("a/b/file")), "1");
}

TEST_F(FileManagerTest, CopiesAndMovesFoldersRecursively)
{
    write("src/top", "t");
    write("src/sub/deep/file", "d");
    mkdir("src/empty");
    mkdir("dst");
    ScriptedManager manager;
    ASSERT_TRUE(manager.copy_files({ upath("src") }, upath("dst")));
    EXPECT_EQ(test::read_file(path("dst/src/top")), "t");
    EXPECT_EQ(test::read_file(path("dst/src/sub/deep/file")), "d");
    EXPECT_TRUE(fs::is_directory(path("dst/src/empty")));

    ASSERT_TRUE(manager.move_files({ upath("dst/src") }, upath("src/sub")));
    EXPECT_FALSE(exists(path("dst/src")));
    EXPECT_EQ(test::read_file(path("src/sub/src/sub/deep/file")), "d");

    ASSERT_TRUE(manager.delete_files({ upath("src") }));
    EXPECT_FALSE(exists(path("src")));
    EXPECT_TRUE(manager.errors.empty());
}

// Makes a folder's entries impossible to remove, even for root, while it lives.
class ImmutableFolder {
public:
    explicit ImmutableFolder(std::string path)
        : m_path(std::move(path))
        , m_locked(test::have_tool("chattr") && test::run_tool({ "chattr", "+i", m_path }).exit_code == 0)
    {
    }

    ~ImmutableFolder()
    {
        if (m_locked)
            test::run_tool({ "chattr", "-i", m_path });
    }

    bool locked() const { return m_locked; }

private:
    std::string m_path;
    bool m_locked;
};

TEST_F(FileManagerTest, DeleteErrorsAreReported)
{
    write("locked/file", "f");
    mkdir("locked/empty");
    write("kept/ro", "r");
    make_read_only(path("kept/ro"));
    ImmutableFolder lock(path("locked"));
    if (!lock.locked())
        GTEST_SKIP() << "cannot make a folder immutable here";
    ScriptedManager manager;
    manager.go_on_after_error = true;
    manager.delete_read_only = FileManager::Answer::skip;
    EXPECT_TRUE(manager.delete_files({ upath("locked/file"), upath("locked/empty"), upath("kept") }));
    // An empty folder that cannot be removed is an error too, not a silent success.
    EXPECT_EQ(manager.errors,
        (std::vector<std::string> { "delete " + path("locked/file"), "delete " + path("locked/empty") }));
    // A folder that keeps a skipped entry stays without a word.
    EXPECT_TRUE(exists(path("kept/ro")));
}

TEST_F(FileManagerTest, AbortedCopyLeavesNoPartialTarget)
{
    write("src/big", std::string(100000, 'x'));
    write("src/later", "l");
    mkdir("dst");
    ScriptedManager manager;
    int blocks = 0;
    manager.on_step = [&](const ProgressCall& call) {
        bool block = call.second.ends_with("big") && call.file > 0.0 && call.file < 1.0;
        return !(block && ++blocks == 2);
    };
    EXPECT_FALSE(manager.copy_files({ upath("src") }, upath("dst")));
    EXPECT_FALSE(exists(path("dst/src/big")));
    EXPECT_FALSE(exists(path("dst/src/later")));
    EXPECT_TRUE(manager.errors.empty()); // an abort is no copy error
    EXPECT_EQ(test::read_file(path("src/big")).size(), 100000u);
}

TEST_F(FileManagerTest, ReadErrorEndsTheCopyWithoutStaleData)
{
    std::string source = write("src/shrinking", std::string(100000, 'x'));
    write("dst/shrinking", "old");
    write("src/after", "a");
    ScriptedManager manager;
    manager.go_on_after_error = true;
    // The source loses its tail while the first block is being copied.
    manager.on_step = [&](const ProgressCall& call) {
        if (call.name == source && call.file > 0.0 && call.file < 1.0)
            truncate(source.c_str(), 40000);
        return true;
    };
    EXPECT_TRUE(manager.copy_files({ upath("src/shrinking"), upath("src/after") }, upath("dst")));
    EXPECT_EQ(manager.errors, std::vector<std::string> { "copy " + source });
    EXPECT_FALSE(exists(path("dst/shrinking")));
    EXPECT_EQ(test::read_file(path("dst/after")), "a"); // the user chose to go on

    // With the base hooks the error stops the operation.
    write("src/big", std::string(100000, 'y'));

    struct Shrinker : FileManager {
        std::string source;

        bool on_progress(const std::u16string& name, const std::u16string&, double file, double) override
        {
            if (u8(name) == source && file > 0.0 && file < 1.0)
                truncate(source.c_str(), 1);
            return true;
        }
    } base;

    base.source = path("src/big");
    EXPECT_FALSE(base.copy_files({ upath("src/big") }, upath("dst")));
    EXPECT_FALSE(exists(path("dst/big")));
}

TEST_F(FileManagerTest, FailedMoveKeepsTheSource)
{
    write("src/file", "keep");
    ScriptedManager manager;
    EXPECT_FALSE(manager.move_files({ upath("src/file") }, upath("no/such/folder")));
    EXPECT_EQ(manager.errors, std::vector<std::string> { "move " + path("src/file") });
    EXPECT_EQ(test::read_file(path("src/file")), "keep");
}

// A folder in memory (/dev/shm): another file system than the temporary
// folder, and one where the holes of a sparse file read fast.
class MemoryFolder {
public:
    MemoryFolder()
    {
        char pattern[] = "/dev/shm/orvanta-fileops-XXXXXX";
        if (access("/dev/shm", W_OK) == 0 && mkdtemp(pattern))
            m_path = pattern;
    }

    ~MemoryFolder()
    {
        if (!m_path.empty())
            fs::remove_all(m_path);
    }

    // Empty when there is no memory file system.
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

bool same_file_system(const std::string& a, const std::string& b)
{
    struct stat sa {
    }, sb {};

    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev;
}

TEST_F(FileManagerTest, MovesAcrossFileSystems)
{
    MemoryFolder memory;
    const std::string& other = memory.path();
    if (other.empty() || same_file_system(other, dir.path()))
        GTEST_SKIP() << "no second file system";
    write("src/file", "one");
    write("src/folder/inner", "two");
    write("outside/file", "three");
    fs::create_directory_symlink(path("outside"), path("src/folder/link"));
    ScriptedManager manager;
    bool moved = manager.move_files({ upath("src/file"), upath("src/folder") }, u16(other));
    EXPECT_TRUE(moved);
    EXPECT_TRUE(manager.errors.empty());
    EXPECT_EQ(test::read_file(other + "/file"), "one");
    EXPECT_EQ(test::read_file(other + "/folder/inner"), "two");
    EXPECT_TRUE(fs::is_symlink(other + "/folder/link"));
    EXPECT_EQ(fs::read_symlink(other + "/folder/link"), path("outside"));
    EXPECT_FALSE(exists(path("src/file")));
    EXPECT_FALSE(exists(path("src/folder")));
    EXPECT_EQ(test::read_file(path("outside/file")), "three");
}

TEST_F(FileManagerTest, LinkedFoldersAreNeverWalked)
{
    write("outside/precious", "p");
    write("tree/own", "o");
    fs::create_directory_symlink(path("outside"), path("tree/link"));
    fs::create_directory_symlink(path("tree"), path("tree/loop"));
    mkdir("copy");
    mkdir("moved");

    ScriptedManager manager;
    // The loop would never end if it were walked.
    EXPECT_EQ(manager.calculate_total({ upath("tree") }), 1 + 3 * FileManager::folder_work);

    ASSERT_TRUE(manager.copy_files({ upath("tree") }, upath("copy")));
    EXPECT_TRUE(fs::is_symlink(path("copy/tree/link")));
    EXPECT_EQ(fs::read_symlink(path("copy/tree/link")), path("outside"));
    EXPECT_TRUE(fs::is_symlink(path("copy/tree/loop")));

    ASSERT_TRUE(manager.move_files({ upath("copy/tree") }, upath("moved")));
    EXPECT_TRUE(fs::is_symlink(path("moved/tree/link")));
    EXPECT_EQ(test::read_file(path("moved/tree/link/precious")), "p");

    ASSERT_TRUE(manager.delete_files({ upath("tree"), upath("moved") }));
    EXPECT_FALSE(exists(path("tree")));
    EXPECT_FALSE(exists(path("moved")));
    EXPECT_EQ(test::read_file(path("outside/precious")), "p");

    // A listed link goes alone, whatever its target's read-only state.
    fs::create_directory_symlink(path("outside"), path("link"));
    make_read_only(path("outside"));
    ASSERT_TRUE(manager.delete_files({ upath("link") }));
    EXPECT_FALSE(exists(path("link")));
    EXPECT_EQ(manager.delete_read_only_asked, 0);
    EXPECT_EQ(fs::status(path("outside")).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(test::read_file(path("outside/precious")), "p");
    EXPECT_TRUE(manager.errors.empty());
}

TEST_F(FileManagerTest, OverwriteReplacesALinkInsteadOfWritingThroughIt)
{
    write("victim", "untouched");
    write("src/a", "new");
    mkdir("dst");
    fs::create_symlink(path("victim"), path("dst/a"));
    ScriptedManager manager;
    ASSERT_TRUE(manager.copy_files({ upath("src/a") }, upath("dst")));
    EXPECT_EQ(manager.overwrite_asked, 1);
    EXPECT_FALSE(fs::is_symlink(path("dst/a")));
    EXPECT_EQ(test::read_file(path("dst/a")), "new");
    EXPECT_EQ(test::read_file(path("victim")), "untouched");
}

TEST_F(FileManagerTest, CopyIntoAFolderLinkedToTheSourceLosesNothing)
{
    write("a/x", "data");
    mkdir("dst");
    fs::create_directory_symlink(path("a"), path("dst/a"));
    ScriptedManager manager;
    manager.go_on_after_error = true;
    // dst/a/x is a/x itself: overwriting it would empty the source.
    manager.copy_files({ upath("a") }, upath("dst"));
    EXPECT_EQ(test::read_file(path("a/x")), "data");
    EXPECT_FALSE(manager.errors.empty());
}

TEST_F(FileManagerTest, Rename)
{
    write("d/song.mp3", "song");
    write("d/other.mp3", "other");
    ScriptedManager manager;

    // Only the case changes: a different name on this host, no question.
    ASSERT_TRUE(manager.rename(upath("d/song.mp3"), u"Song.mp3"));
    EXPECT_EQ(test::read_file(path("d/Song.mp3")), "song");
    EXPECT_FALSE(exists(path("d/song.mp3")));
    EXPECT_EQ(manager.overwrite_asked, 0);

    // The same name: nothing to do, and the item is not lost.
    ASSERT_TRUE(manager.rename(upath("d/Song.mp3"), u"Song.mp3"));
    EXPECT_EQ(test::read_file(path("d/Song.mp3")), "song");
    EXPECT_EQ(manager.overwrite_asked, 0);

    // Onto another item: asked, and skipping keeps both.
    manager.overwrite = FileManager::Answer::skip;
    EXPECT_TRUE(manager.rename(upath("d/Song.mp3"), u"other.mp3"));
    EXPECT_EQ(test::read_file(path("d/other.mp3")), "other");
    manager.overwrite = FileManager::Answer::abort;
    EXPECT_FALSE(manager.rename(upath("d/Song.mp3"), u"other.mp3"));
    manager.overwrite = FileManager::Answer::yes;
    ASSERT_TRUE(manager.rename(upath("d/Song.mp3"), u"other.mp3"));
    EXPECT_EQ(test::read_file(path("d/other.mp3")), "song");
    EXPECT_EQ(manager.overwrite_asked, 3);

    // Folders rename too.
    ASSERT_TRUE(manager.rename(upath("d"), u"e"));
    EXPECT_EQ(test::read_file(path("e/other.mp3")), "song");

    // Names that would lead elsewhere are refused, and nothing changes.
    for (std::u16string bad : { u"", u".", u"..", u"x/y", u"..\\e" })
        EXPECT_FALSE(manager.rename(upath("e/other.mp3"), bad));
    EXPECT_EQ(test::read_file(path("e/other.mp3")), "song");
    EXPECT_EQ(fs::directory_iterator(path("e"))->path().filename(), "other.mp3");
    EXPECT_TRUE(manager.errors.empty());
}

TEST_F(FileManagerTest, ProgressTotals)
{
    write("src/ten", std::string(10, 'a'));
    write("src/sub/seventy", std::string(70000, 'b'));
    write("empty", "");
    mkdir("dst");
    ScriptedManager manager;
    FileManager::PathList items { upath("src"), upath("empty") };
    EXPECT_EQ(manager.calculate_total(items), 10 + 70000 + 2 * FileManager::folder_work);
    ASSERT_TRUE(manager.copy_files(items, upath("dst")));
    EXPECT_EQ(manager.done(), manager.total());
    EXPECT_EQ(manager.total(), 10 + 70000 + 2 * FileManager::folder_work);

    auto& calls = manager.progress;
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.front().name, "");
    EXPECT_EQ(calls.front().total, 0.0);
    EXPECT_EQ(calls.back().name, "");
    EXPECT_EQ(calls.back().file, 1.0);
    EXPECT_EQ(calls.back().total, 1.0);
    double last = 0.0;
    for (size_t i = 0; i + 1 < calls.size(); ++i) {
        EXPECT_LE(calls[i].total, 0.99);
        EXPECT_GE(calls[i].total, last);
        last = calls[i].total;
    }
    // The 70000-byte file reports each 32768-byte block; the empty file no block at all.
    std::vector<double> seventy, empty;
    for (auto& call : calls) {
        if (call.name == path("src/sub/seventy"))
            seventy.push_back(call.file);
        if (call.name == path("empty"))
            empty.push_back(call.file);
    }
    EXPECT_EQ(seventy, (std::vector<double> { 0.0, 32768 / 70000.0, 65536 / 70000.0, 1.0, 1.0 }));
    EXPECT_EQ(empty, (std::vector<double> { 0.0, 1.0 }));
    EXPECT_TRUE(exists(path("dst/empty")));
    EXPECT_EQ(fs::file_size(path("dst/empty")), 0u);
}

TEST_F(FileManagerTest, StoppingProgressStopsTheList)
{
    write("a", "a");
    write("b", "b");
    ScriptedManager manager;
    manager.on_step = [&](const ProgressCall& call) { return call.name != path("a") || call.file < 1.0; };
    EXPECT_FALSE(manager.delete_files({ upath("a"), upath("b") }));
    EXPECT_FALSE(exists(path("a")));
    EXPECT_TRUE(exists(path("b")));
}

TEST_F(FileManagerTest, CopiesASparseFileOverFourGigabytes)
{
    MemoryFolder memory;
    std::string base = memory.path().empty() ? dir.path() : memory.path();
    const uint64_t size = (uint64_t(1) << 32) + 5;
    std::string source = base + "/huge";
    {
        FILE* f = fopen(source.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(fseeko(f, static_cast<off_t>(size - 5), SEEK_SET), 0);
        fwrite("tail!", 1, 5, f);
        fclose(f);
    }
    std::string copy = base + "/dst/huge";
    fs::create_directory(base + "/dst");
    FileManager manager;
    ASSERT_TRUE(manager.copy_files({ u16(source) }, u16(base + "/dst")));
    EXPECT_EQ(fs::file_size(copy), size);
    EXPECT_EQ(manager.total(), size);
    EXPECT_EQ(manager.done(), size);
    std::string tail(5, '\0');
    FILE* f = fopen(copy.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    fseeko(f, static_cast<off_t>(size - 5), SEEK_SET);
    EXPECT_EQ(fread(tail.data(), 1, 5, f), 5u);
    fclose(f);
    EXPECT_EQ(tail, "tail!");

    // The holes stay holes: the copy takes no more room than the source.
    struct stat copied { };

    ASSERT_EQ(stat(copy.c_str(), &copied), 0);
    EXPECT_LT(copied.st_blocks * 512, 1 << 20);
}

}
