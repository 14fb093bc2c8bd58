// The private-profile file: lookups, writes that keep the rest of the file, encodings.
#include <gtest/gtest.h>

#include "host/core/settings/profile_file.h"
#include "support/sample_text.h"
#include "support/temp_folder.h"

namespace {

using host::ProfileFile;
using testing_support::ReadFile;
using testing_support::Sjis;
using testing_support::TempFolder;

TEST(ProfileFile, MissingFileGivesDefaultsAndTheReason) {
    TempFolder folder;
    std::string failure;
    const ProfileFile profile = ProfileFile::Read(folder.str() + "/none.ini", &failure);
    EXPECT_FALSE(failure.empty());
    EXPECT_EQ(profile.GetString("Settings", "OutputFolder", "desk"), "desk");
    EXPECT_EQ(profile.GetInteger("Settings", "OverWrite", 7), 7);
    EXPECT_FALSE(profile.Find("Settings", "TablePath"));
    EXPECT_EQ(profile.Bytes(host::ProfileForm::kUtf8), "");
}

TEST(ProfileFile, NamesMatchWithoutAsciiCaseAndValuesAreTrimmed) {
    const ProfileFile profile = ProfileFile::FromBytes(
        "; comment\n"
        "  [ settings ]  \n"
        "  outputfolder  =   /home/taro/out dir  \t\n"
        "TABLEPATH=\n"
        "Quoted = \"  spaced  \"\n"
        "Single='x'\n");
    EXPECT_EQ(profile.GetString("Settings", "OutputFolder"), "/home/taro/out dir");
    EXPECT_EQ(profile.GetString("SETTINGS", "tablepath", "default"), "");
    EXPECT_EQ(profile.GetString("Settings", "Quoted"), "  spaced  ");
    EXPECT_EQ(profile.GetString("Settings", "Single"), "x");
    EXPECT_FALSE(profile.Find("Other", "OutputFolder"));
}

TEST(ProfileFile, FirstSectionAndFirstKeyCount) {
    const ProfileFile profile = ProfileFile::FromBytes("[A]\nk=1\nk=2\n[B]\nk=3\n[a]\nk=4\nj=5\n");
    EXPECT_EQ(profile.GetString("A", "k"), "1");
    EXPECT_EQ(profile.GetString("B", "k"), "3");
    EXPECT_FALSE(profile.Find("A", "j"));
    EXPECT_EQ(profile.KeyCount("a"), 2u);
    EXPECT_EQ(profile.KeyNames("A"), (std::vector<std::string>{"k", "k"}));
}

TEST(ProfileFile, IntegersAreReadAsTheWindowsProfileReadsThem) {
    const ProfileFile profile = ProfileFile::FromBytes(
        "[S]\none=1\ntwo=2\nlead=12abc\nword=abc\nempty=\nneg=-5\nhuge=99999999999999999999999\n");
    EXPECT_EQ(profile.GetInteger("S", "one", 0), 1);
    EXPECT_EQ(profile.GetInteger("S", "two", 0), 2);
    EXPECT_EQ(profile.GetInteger("S", "lead", 0), 12);
    EXPECT_EQ(profile.GetInteger("S", "word", 9), 0);
    EXPECT_EQ(profile.GetInteger("S", "empty", 9), 9);
    EXPECT_EQ(profile.GetInteger("S", "missing", 9), 9);
    EXPECT_EQ(profile.GetInteger("S", "neg", 0), -5);
    EXPECT_EQ(profile.GetInteger("S", "huge", 0), std::numeric_limits<long long>::max());
}

TEST(ProfileFile, WritingAKeyKeepsEveryOtherLine) {
    ProfileFile profile = ProfileFile::FromBytes(
        "; my settings\n"
        "[Settings]\n"
        "  outputfolder=/old\n"
        "; about the table\n"
        "TablePath=/t\n"
        "\n"
        "[RegExp List]\n"
        "regexp1=s/a/b/\n");
    ASSERT_TRUE(profile.SetString("Settings", "OutputFolder", "/new"));
    ASSERT_TRUE(profile.SetString("settings", "OverWrite", "1"));
    ASSERT_TRUE(profile.SetString("Other", "Key", "v"));
    EXPECT_EQ(profile.Bytes(host::ProfileForm::kUtf8),
              "; my settings\n"
              "[Settings]\n"
              "  outputfolder=/new\n"
              "; about the table\n"
              "TablePath=/t\n"
              "OverWrite=1\n"
              "\n"
              "[RegExp List]\n"
              "regexp1=s/a/b/\n"
              "\n"
              "[Other]\n"
              "Key=v\n");
}

TEST(ProfileFile, DeletingASectionKeepsEveryOtherLine) {
    ProfileFile profile = ProfileFile::FromBytes(
        "[Settings]\r\nA=1\r\n\r\n[Files]\r\nCount=1\r\n; note\r\nfile0=x\r\n"
        "[Extra]\r\nB=2\r\n[files]\r\nfile9=y\r\n");
    EXPECT_TRUE(profile.DeleteSection("FILES"));
    EXPECT_FALSE(profile.DeleteSection("Files"));
    EXPECT_EQ(profile.Bytes(host::ProfileForm::kUtf8),
              "[Settings]\r\nA=1\r\n\r\n[Extra]\r\nB=2\r\n");
    EXPECT_TRUE(profile.DeleteKey("extra", "b"));
    EXPECT_EQ(profile.Bytes(host::ProfileForm::kUtf8), "[Settings]\r\nA=1\r\n\r\n[Extra]\r\n");
}

TEST(ProfileFile, ValuesThatWouldNotReadBackAreQuotedOrRefused) {
    ProfileFile profile;
    ASSERT_TRUE(profile.SetString("S", "a", " lead"));
    ASSERT_TRUE(profile.SetString("S", "b", "\"q\""));
    ASSERT_TRUE(profile.SetString("S", "c", ""));
    EXPECT_FALSE(profile.SetString("S", "d", "two\nlines"));
    EXPECT_FALSE(profile.SetString("S", "e", "bad\xff"));
    EXPECT_FALSE(profile.SetString("S", "f=", "x"));
    EXPECT_FALSE(profile.SetString("[S]", "g", "x"));
    const ProfileFile again = ProfileFile::FromBytes(profile.Bytes());
    EXPECT_EQ(again.GetString("S", "a"), " lead");
    EXPECT_EQ(again.GetString("S", "b"), "\"q\"");
    EXPECT_EQ(again.GetString("S", "c", "x"), "");
    EXPECT_FALSE(again.Find("S", "d"));
}

// Written to, a Shift JIS file becomes UTF-8 on Linux; on Windows it stays Shift JIS while
// every line fits code page 932 and becomes UTF-8 with a byte-order mark when one does not.
TEST(ProfileFile, ShiftJisFileIsReadAndRewrittenInTheFormOfTheSystem) {
    const std::string bytes = "[Settings]\r\nOutputFolder=" + Sjis("C:\\表\\デスクトップ") +
                              "\r\nKeep=" + Sjis("ソ") + "\r\n";
    ProfileFile profile = ProfileFile::FromBytes(bytes);
    EXPECT_TRUE(profile.IsCp932());
    EXPECT_EQ(profile.GetString("Settings", "OutputFolder"), "C:\\表\\デスクトップ");
    EXPECT_EQ(*profile.FindCp932("Settings", "OutputFolder"), Sjis("C:\\表\\デスクトップ"));
    // Untouched until written to.
    EXPECT_EQ(profile.Bytes(host::ProfileForm::kUtf8), bytes);
    EXPECT_EQ(profile.Bytes(host::ProfileForm::kWindows), bytes);
    ASSERT_TRUE(profile.SetString("Settings", "TablePath", "表"));
    EXPECT_EQ(profile.Bytes(host::ProfileForm::kWindows), bytes + Sjis("TablePath=表\r\n"));
    ASSERT_TRUE(profile.SetString("Settings", "TablePath", "/ü/😀"));
    EXPECT_FALSE(profile.IsCp932());
    const std::string utf8 =
        "[Settings]\r\nOutputFolder=C:\\表\\デスクトップ\r\nKeep=ソ\r\nTablePath=/ü/😀\r\n";
    EXPECT_EQ(profile.Bytes(host::ProfileForm::kUtf8), utf8);
    EXPECT_EQ(profile.Bytes(host::ProfileForm::kWindows), "\xEF\xBB\xBF" + utf8);
    const ProfileFile again = ProfileFile::FromBytes(profile.Bytes(host::ProfileForm::kWindows));
    EXPECT_EQ(again.GetString("Settings", "TablePath"), "/ü/😀");
    EXPECT_EQ(again.GetString("Settings", "Keep"), "ソ");
}

TEST(ProfileFile, Utf8ByteOrderMarkIsAcceptedAndKept) {
    ProfileFile profile = ProfileFile::FromBytes("\xEF\xBB\xBF[S]\nk=日本\n");
    EXPECT_FALSE(profile.IsCp932());
    EXPECT_EQ(profile.GetString("S", "k"), "日本");
    EXPECT_EQ(*profile.FindCp932("S", "k"), Sjis("日本"));
    profile.SetInteger("S", "n", 3);
    EXPECT_EQ(profile.Bytes(host::ProfileForm::kUtf8), "\xEF\xBB\xBF[S]\nk=日本\nn=3\n");
}

TEST(ProfileFile, SectionReadsManyKeysAtOnce) {
    const ProfileFile profile = ProfileFile::FromBytes("[F]\nCount=2\nfile0=a\nFILE1=b\ncount=9\n");
    const host::ProfileSection section = profile.Section("f");
    EXPECT_EQ(section.keyCount(), 4u);
    EXPECT_EQ(section.Occurrences("COUNT"), 2u);
    EXPECT_EQ(section.Find("Count"), "2");
    EXPECT_EQ(section.Find("file1"), "b");
    EXPECT_FALSE(section.Find("file2"));
    EXPECT_EQ(profile.Section("none").keyCount(), 0u);
}

TEST(ProfileFile, SaveReplacesTheWholeFile) {
    TempFolder folder;
    const std::string path = folder.Write("a.ini", "[S]\nk=old\nother=1\n");
    ProfileFile profile = ProfileFile::Read(path);
    profile.SetString("S", "k", "new");
    ASSERT_EQ(profile.Save(path).status, host::WriteStatus::kOk);
    EXPECT_EQ(ReadFile(path), testing_support::InSystemProfileForm("[S]\nk=new\nother=1\n"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

}  // namespace
