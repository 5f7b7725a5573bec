#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>

#include "script/ScriptPorts.h"

namespace fs = std::filesystem;

namespace {

using script::ScriptFiles;
using script::ScriptMessages;
using ui::Answer;
using ui::Buttons;

ui::Message box(Buttons buttons, Answer defaultButton, const std::string& text = "t") {
    return {"Attenzione", text, buttons, ui::Icon::None, defaultButton};
}

TEST(ScriptMessages, QueuedAnswersThenDefaultButtons) {
    ScriptMessages m;
    m.queue(Answer::No);
    m.queue(Answer::Cancel);
    EXPECT_EQ(m.show(box(Buttons::YesNo, Answer::Yes)), Answer::No);
    EXPECT_EQ(m.show(box(Buttons::OKCancel, Answer::OK)), Answer::Cancel);
    EXPECT_EQ(m.show(box(Buttons::YesNo, Answer::No)), Answer::No);
    EXPECT_EQ(m.show(box(Buttons::OKCancel, Answer::OK)), Answer::OK);
    EXPECT_EQ(m.takeProblem(), "");
    ASSERT_EQ(m.shown().size(), 4u);
    EXPECT_EQ(m.shown()[1].answer, Answer::Cancel);
}

TEST(ScriptMessages, AnswerThatIsNotAButtonIsReportedOnce) {
    ScriptMessages m;
    m.queue(Answer::Yes);
    EXPECT_EQ(m.show(box(Buttons::OK, Answer::OK, "Copia Archivio salvata !")), Answer::OK);
    EXPECT_EQ(m.takeProblem(),
              "answer yes / box \"Attenzione\" \"Copia Archivio salvata !\" has the buttons ok");
    EXPECT_EQ(m.takeProblem(), "");
}

TEST(ScriptMessages, EndlessBoxesWithinOneCommandStop) {
    ScriptMessages m;
    for (int i = 0; i < ScriptMessages::kMaxPerCommand; ++i)
        m.show(box(Buttons::OKCancel, Answer::OK));
    EXPECT_THROW(m.show(box(Buttons::OKCancel, Answer::OK)), script::EndlessMessages);
    m.startCommand();
    EXPECT_EQ(m.show(box(Buttons::OKCancel, Answer::OK)), Answer::OK);
}

class ScriptFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string path = (fs::temp_directory_path() / "script-files-XXXXXX").string();
        ASSERT_NE(mkdtemp(path.data()), nullptr);
        dir = path;
        std::ofstream(dir / "archive.mdb") << "data";
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string in(const std::string& name) const { return (dir / name).string(); }
    std::string media(const std::string& name) const { return (dir / "media" / name).string(); }

    fs::path dir;
};

TEST_F(ScriptFilesTest, MediaFolderStates) {
    ScriptFiles files(dir.string());
    EXPECT_EQ(files.mediaFolder(), in("media"));
    EXPECT_TRUE(fs::is_directory(in("media")));

    files.setMedia(ScriptFiles::Media::Absent);
    EXPECT_FALSE(fs::exists(in("media")));
    EXPECT_THROW(files.copy(in("archive.mdb"), media("x.mdb")), std::runtime_error);

    files.setMedia(ScriptFiles::Media::ReadOnly);
    EXPECT_TRUE(fs::is_directory(in("media")));
    struct Refused {
        const char* what;
        std::function<void()> action;
    };
    std::ofstream(media("old.mdb")) << "old";
    const Refused refused[] = {
        {"copy into", [&] { files.copy(in("archive.mdb"), media("x.mdb")); }},
        {"rename into", [&] { files.rename(in("archive.mdb"), media("x.mdb")); }},
        {"rename out of", [&] { files.rename(media("old.mdb"), in("old.mdb")); }},
        {"remove", [&] { files.remove(media("old.mdb")); }},
    };
    for (const auto& r : refused) {
        try {
            r.action();
            ADD_FAILURE() << r.what;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Permesso negato") << r.what;
        }
    }
    EXPECT_FALSE(fs::exists(media("x.mdb")));
    EXPECT_TRUE(fs::exists(media("old.mdb")));
    // Outside the media folder, and a sibling whose name only begins alike, stay writable.
    files.copy(in("archive.mdb"), in("media2"));
    files.copy(in("archive.mdb"), in("copy.mdb"));
    EXPECT_TRUE(fs::exists(in("copy.mdb")));

    files.setMedia(ScriptFiles::Media::Present);
    files.copy(in("archive.mdb"), media("x.mdb"));
    EXPECT_TRUE(fs::exists(media("x.mdb")));
}

TEST_F(ScriptFilesTest, FaultsFailTheNextOperationOnce) {
    ScriptFiles files(dir.string());
    files.failNext(ScriptFiles::Fault::Copy);
    files.failNext(ScriptFiles::Fault::Rename);
    files.failNext(ScriptFiles::Fault::Compact);
    for (const auto& action : std::vector<std::function<void()>>{
             [&] { files.copy(in("archive.mdb"), in("a.mdb")); },
             [&] { files.rename(in("archive.mdb"), in("b.mdb")); },
             [&] { files.beforeCompact(); },
         }) {
        try {
            action();
            ADD_FAILURE() << "no fault";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Errore di input/output");
        }
        EXPECT_NO_THROW(action());
    }
    EXPECT_TRUE(fs::exists(in("a.mdb")));
    EXPECT_TRUE(fs::exists(in("b.mdb")));
    EXPECT_FALSE(fs::exists(in("archive.mdb")));
}

}  // namespace
