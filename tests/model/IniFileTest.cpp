#include "model/IniFile.h"

#include <gtest/gtest.h>

#include <QDir>

#include <filesystem>
#include <functional>
#include <random>

#include <sys/stat.h>

#include "model/FileIo.h"
#include "model/FileLimit.h"
#include "model/ModelTestUtil.h"

namespace {

using model::IniFile;
using model_test::ReadText;
using model_test::WriteText;

class IniFileTest : public model_test::ProgramFolderTest {};

TEST_F(IniFileTest, NamesIgnoreCaseAndKeepFileOrderAndSpelling) {
    IniFile ini;
    ini.SetText("[Set]\nZeta=1\nalpha=2\n[Pictures]\n/b.jpg=1\n/a.jpg=0\n[music]\n");
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Set", "Pictures", "music"}));
    EXPECT_EQ(ini.ReadSection("PICTURES"), (std::vector<std::string>{"/b.jpg", "/a.jpg"}));
    EXPECT_EQ(ini.ReadString("sET", "ZETA", "-"), "1");
    EXPECT_TRUE(ini.ValueExists("set", "Alpha"));
    EXPECT_TRUE(ini.SectionExists("MUSIC"));

    // Overwriting a key keeps its place and its first spelling.
    ini.WriteString("SET", "ZETA", "9");
    EXPECT_EQ(ini.ReadSection("Set"), (std::vector<std::string>{"Zeta", "alpha"}));
    EXPECT_EQ(ini.ReadString("Set", "zeta", ""), "9");
}

TEST_F(IniFileTest, ValuesThatDoNotParseGiveTheDefault) {
    IniFile ini;
    ini.SetText(
        "[s]\nnum= 42 \nneg=-7\nhex=$FF\nword=yes\nempty=\nhuge=99999999999\nflag=5\noff=0\n");
    EXPECT_EQ(ini.ReadInteger("s", "num", -1), 42);
    EXPECT_EQ(ini.ReadInteger("s", "neg", 0), -7);
    EXPECT_EQ(ini.ReadInteger("s", "hex", 0), 255);
    EXPECT_EQ(ini.ReadInteger("s", "word", 13), 13);
    EXPECT_EQ(ini.ReadInteger("s", "empty", 13), 13);
    EXPECT_EQ(ini.ReadInteger("s", "huge", 13), 13);
    EXPECT_EQ(ini.ReadInteger("s", "missing", 13), 13);
    EXPECT_EQ(ini.ReadInteger("nosection", "num", 13), 13);
    // Booleans: any non-zero integer is true; text that is no integer is the default.
    EXPECT_TRUE(ini.ReadBool("s", "flag", false));
    EXPECT_FALSE(ini.ReadBool("s", "off", true));
    EXPECT_TRUE(ini.ReadBool("s", "word", true));
    EXPECT_FALSE(ini.ReadBool("s", "word", false));
}

TEST_F(IniFileTest, WritesCreateSectionsAtTheEndAndRewriteTheWholeFile) {
    const std::string file = Path("store.ini");
    WriteText(file,
              "\xEF\xBB\xBF[First]\r\nA = 1\r\n\r\n; a comment line\r\n[Second]\r\nB=x=y\r\n");
    IniFile ini(file);
    ini.WriteBool("third", "on", true);
    ini.WriteBool("FIRST", "off", false);
    ini.WriteInteger("Third", "n", -12);
    ini.UpdateFile();
    EXPECT_EQ(ReadText(file), "[First]\nA=1\noff=0\n[Second]\nB=x=y\n[third]\non=1\nn=-12\n");

    // Erased sections vanish; written again they come back at the end.
    ini.EraseSection("first");
    ini.WriteString("First", "A", "2");
    ini.DeleteKey("third", "ON");
    EXPECT_EQ(ini.Text(), "[Second]\nB=x=y\n[third]\nn=-12\n[First]\nA=2\n");
}

TEST_F(IniFileTest, MissingFileIsAnEmptyStoreCreatedByTheFirstWrite) {
    const std::string file = Path("sub/none.ini");
    IniFile ini(file);
    EXPECT_TRUE(ini.ReadSections().empty());
    EXPECT_FALSE(model::FileExists(file));
    // A folder that does not exist cannot take the file: the failure is reported.
    ini.WriteString("a", "b", "c");
    EXPECT_THROW(ini.UpdateFile(), model::FileError);

    IniFile created(Path("new.ini"));
    created.WriteString("a", "b", "c");
    created.UpdateFile();
    EXPECT_EQ(ReadText(Path("new.ini")), "[a]\nb=c\n");
}

TEST_F(IniFileTest, UnreadableFileIsAnEmptyStoreThatNeverReplacesIt) {
    // A named pipe stands for any file that exists but cannot be read (the
    // tests run as root, which reads past permissions); a file above the
    // size limit is left unread the same way.
    const std::string file = Path("options.dat");
    const std::function<void()> makers[] = {
        [&] { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); },
        [&] {
            WriteText(file, "[Set]\nPlayMusic=1\n");
            std::filesystem::resize_file(file, model::kMaxIniFileBytes + 1);
        },
    };
    for (const auto& make : makers) {
        std::filesystem::remove(file);
        make();
        const auto before = std::filesystem::status(file).type();
        IniFile ini(file);
        EXPECT_TRUE(ini.ReadSections().empty());
        ini.WriteString("Set", "PlayMusic", "0");
        try {
            ini.UpdateFile();
            ADD_FAILURE() << "an unreadable file was replaced";
        } catch (const model::FileError& error) {
            EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what();
        }
        EXPECT_EQ(std::filesystem::status(file).type(), before);

        // Content put in whole, as a project load does, may take its place.
        ini.SetText("[Set]\nPlayMusic=1\n");
        ini.UpdateFile();
        EXPECT_EQ(ReadText(file), "[Set]\nPlayMusic=1\n");
    }
}

TEST_F(IniFileTest, TextIsUtf8AndCaseFoldsBeyondAscii) {
    IniFile ini;
    ini.SetText("[Bildunterschriften]\nÄpfel.jpg=Grüße\n");
    EXPECT_EQ(ini.ReadString("bildunterschriften", "äPFEL.JPG", ""), "Grüße");

    // Names from an older system in Latin-1 are not UTF-8: they stay apart
    // from each other and still ignore the case of their ASCII letters.
    ini.WriteString("Pictures", "/p/caf\xe9.jpg", "1");
    ini.WriteString("Pictures", "/p/caf\xe8.jpg", "0");
    EXPECT_EQ(ini.ReadSection("Pictures"),
              (std::vector<std::string>{"/p/caf\xe9.jpg", "/p/caf\xe8.jpg"}));
    EXPECT_EQ(ini.ReadString("pictures", "/P/CAF\xe9.JPG", ""), "1");
    EXPECT_EQ(ini.ReadString("pictures", "/P/CAF\xe8.JPG", ""), "0");
}

TEST_F(IniFileTest, LineBreaksInValuesCannotInjectEntries) {
    IniFile ini;
    ini.WriteString("captions", "a.jpg", "line one\n[Set]\nVideoType=0");
    IniFile reread;
    reread.SetText(ini.Text());
    EXPECT_EQ(reread.ReadSections(), std::vector<std::string>{"captions"});
    EXPECT_EQ(reread.ReadSection("captions").size(), 1u);
}

TEST_F(IniFileTest, KeysThatABareLineCannotCarryRoundTrip) {
    // Paths may hold "=", start with "[" or a quote, or end in a space.
    const std::vector<std::pair<std::string, std::string>> entries = {
        {"/p/a=b.jpg", "1"},  {"[draft", "]"},          {"\"quoted\" name.jpg", "x=y"},
        {"/p/end .jpg", "0"}, {" lead.jpg", "caption"}, {"/p/plain.jpg", "1"},
        {"/p/\"", "2"},
    };
    IniFile ini;
    for (const auto& [key, value] : entries) ini.WriteString("Pictures", key, value);
    IniFile reread;
    reread.SetText(ini.Text());
    std::vector<std::string> keys;
    for (const auto& entry : entries) keys.push_back(entry.first);
    EXPECT_EQ(reread.ReadSection("Pictures"), keys) << ini.Text();
    for (const auto& [key, value] : entries)
        EXPECT_EQ(reread.ReadString("Pictures", key, "-"), value);
    EXPECT_EQ(reread.ReadSections(), std::vector<std::string>{"Pictures"});
    // Ordinary keys are written bare, as files written before read them.
    EXPECT_NE(ini.Text().find("\n/p/plain.jpg=1\n"), std::string::npos);

    // A line that only starts like a quoted key reads by the bare rule.
    reread.SetText("[s]\n\"open=1\n\"closed\" x=2\n");
    EXPECT_EQ(reread.ReadSection("s"), (std::vector<std::string>{"\"open", "\"closed\" x"}));
}

TEST_F(IniFileTest, RepeatedSectionsAndKeysKeepEveryDistinctEntry) {
    IniFile ini;
    ini.SetText("[A]\nx=1\n[B]\ny=2\n[a]\nz=3\nX=4\n");
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(ini.ReadSection("a"), (std::vector<std::string>{"x", "z"}));
    EXPECT_EQ(ini.ReadString("A", "x", ""), "1");
}

TEST_F(IniFileTest, GarbledInputNeverCrashes) {
    std::mt19937 generator(1234);
    std::uniform_int_distribution<int> byte(0, 255);
    static const char kAlphabet[] = "[]=\n\r ;abc\xC3\xA4\0";
    const std::string alphabet(kAlphabet, sizeof kAlphabet - 1);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int length = round * 7 % 400;
        for (int i = 0; i < length; ++i)
            text += (i % 3 == 0) ? static_cast<char>(byte(generator))
                                 : alphabet[static_cast<size_t>(byte(generator)) % alphabet.size()];
        IniFile ini;
        ini.SetText(text);
        // Whatever was read writes back and reads again to the same store.
        IniFile again;
        again.SetText(ini.Text());
        EXPECT_EQ(again.Text(), ini.Text());
        for (const auto& section : ini.ReadSections())
            for (const auto& key : ini.ReadSection(section)) ini.ReadInteger(section, key, 0);
    }
}

TEST_F(IniFileTest, InterruptedWriteLeavesThePreviousFileIntact) {
    const std::string file = Path("options.dat");
    IniFile ini(file);
    ini.WriteString("Set", "VideoType", "1");
    ini.UpdateFile();
    const std::string before = ReadText(file);

    for (int i = 0; i < 200; ++i)
        ini.WriteString("Pictures", "/p/" + std::to_string(i) + ".jpg", "1");
    {
        model_test::FileSizeLimit diskFull(before.size() + 100);
        EXPECT_THROW(ini.UpdateFile(), model::FileError);
    }
    EXPECT_EQ(ReadText(file), before);
    // No temporary file is left behind.
    EXPECT_EQ(QDir(QString::fromStdString(dir_)).entryList(QDir::Files).size(), 1);

    ini.UpdateFile();
    EXPECT_EQ(IniFile(file).ReadSection("Pictures").size(), 200u);
}

TEST_F(IniFileTest, FailedWriteNamesTheFileAndTheReason) {
    IniFile ini(Path("options.dat"));
    ini.WriteString("s", "k", std::string(5000, 'x'));
    model_test::FileSizeLimit diskFull(100);
    try {
        ini.UpdateFile();
        FAIL() << "the write should fail";
    } catch (const model::FileError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find(Path("options.dat")), std::string::npos) << message;
        EXPECT_GT(message.size(), Path("options.dat").size() + 20) << message;
    }
}

}  // namespace
