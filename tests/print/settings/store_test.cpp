// The settings store: TXP.ini bytes, round trips through both stores, loading rules, erasing.
#include "print/settings/store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "print/settings/store_keys.h"

namespace fs = std::filesystem;
using namespace txp;

namespace {

const std::vector<std::string> kPrinters = {"PDF", "Office"};

PrinterNames FakePrinters() {
  PrinterNames names;
  names.index_by_name = [](const std::string& name) {
    for (std::size_t i = 0; i < kPrinters.size(); ++i)
      if (kPrinters[i] == name) return static_cast<int>(i);
    return 0;  // the default printer
  };
  names.name_of = [](int index) { return kPrinters.at(static_cast<std::size_t>(index)); };
  return names;
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/txp-store-XXXXXX";
    dir_ = mkdtemp(pattern);
    fs::create_directories(dir_ / "config");
    fs::create_directories(dir_ / "program");
    setenv("HOME", dir_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    where_ = DefaultStoreLocations(dir_ / "program");
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path tarn() const { return dir_ / "config" / "Tarn"; }

  fs::path dir_;
  StoreLocations where_;
};

// Every stored field set away from its default.
PrintFormat ChangedFormat(const std::string& name) {
  PrintFormat f = DefaultPrintFormat(0);
  f.SetName = name;
  f.Default = 0;
  f.printer = 1;
  f.PaperSize = 11;
  f.PaperName = "A5";
  f.PaperDir = 1;
  f.LeftMgnMm.value = 11;
  f.RightMgnMm.value = 12;
  f.TopMgnMm.value = 13;
  f.BottomMgnMm.value = 14;
  f.Width.value = 120;
  f.Height.value = 66;
  f.FontPoint = 9;
  f.FontName = "IPAゴシック";
  f.FontStyle = 3;
  f.FontCharSet = 0;
  f.FontPitch = 49;
  f.KeisenThin.value = 3;
  f.KeisenBold.value = 7;
  f.UnderLine.value = 4;
  f.TabSize.value = 4;
  f.PagePrn = 1;
  f.PageMargin.value = 5;
  f.PageStart.value = 3;
  f.YenCmd = 1;
  return f;
}

void ExpectSameStoredFields(const PrintFormat& a, const PrintFormat& b) {
  EXPECT_EQ(a.SetName, b.SetName);
  EXPECT_EQ(a.Default, b.Default);
  EXPECT_EQ(a.printer, b.printer);
  EXPECT_EQ(a.PaperSize, b.PaperSize);
  EXPECT_EQ(a.PaperName, b.PaperName);
  EXPECT_EQ(a.PaperDir, b.PaperDir);
  EXPECT_EQ(a.LeftMgnMm.value, b.LeftMgnMm.value);
  EXPECT_EQ(a.RightMgnMm.value, b.RightMgnMm.value);
  EXPECT_EQ(a.TopMgnMm.value, b.TopMgnMm.value);
  EXPECT_EQ(a.BottomMgnMm.value, b.BottomMgnMm.value);
  EXPECT_EQ(a.Width.value, b.Width.value);
  EXPECT_EQ(a.Height.value, b.Height.value);
  EXPECT_EQ(a.FontPoint, b.FontPoint);
  EXPECT_EQ(a.FontName, b.FontName);
  EXPECT_EQ(a.FontStyle, b.FontStyle);
  EXPECT_EQ(a.FontCharSet, b.FontCharSet);
  EXPECT_EQ(a.FontPitch, b.FontPitch);
  EXPECT_EQ(a.KeisenThin.value, b.KeisenThin.value);
  EXPECT_EQ(a.KeisenBold.value, b.KeisenBold.value);
  EXPECT_EQ(a.UnderLine.value, b.UnderLine.value);
  EXPECT_EQ(a.TabSize.value, b.TabSize.value);
  EXPECT_EQ(a.PagePrn, b.PagePrn);
  EXPECT_EQ(a.PageMargin.value, b.PageMargin.value);
  EXPECT_EQ(a.PageStart.value, b.PageStart.value);
  EXPECT_EQ(a.YenCmd, b.YenCmd);
}

}  // namespace

TEST(StoreValueEncoding, EscapesBackslashAndBytesOutsidePrintableAscii) {
  struct Case {
    std::string bytes, encoded;
  };
  const std::vector<Case> cases = {
      {"NOTEPAD $F", "NOTEPAD $F"},
      {"C:\\bin\\ed.exe", "C:\\\\bin\\\\ed.exe"},
      {"\x82\x6c\x82\x72 \x96\xbe\x92\xa9", "\\82\\6C\\82\\72 \\96\\BE\\92\\A9"},  // ＭＳ 明朝
      {std::string("\x09\x00", 2), "\\09\\00"},
      {"\x80\x7f~ ", "\\80\\7F~ "},
      {"\x83\x5c\\", "\\83\\5C\\\\"},  // ソ (trail byte 0x5C) and a backslash
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeStoreValue(c.bytes), c.encoded);
    EXPECT_EQ(DecodeStoreValue(c.encoded, 1000), c.bytes);
  }
  EXPECT_EQ(DecodeStoreValue("\\82\\6C\\82", 2), "\x82\x6c");  // cut at the byte limit
}

TEST_F(StoreTest, IniFileHoldsExactlyTheDocumentedBytes) {
  ProgramOptions options;
  options.Reg = 1;
  options.Editor = "C:\\tools\\ed.exe $F";
  FormatList formats;
  PrintFormat f = DefaultPrintFormat(0);
  f.SetName = "初期設定値";
  f.Default = 1;
  AppendFormat(formats, f);
  ASSERT_EQ(SaveSettings(options, formats, RunFlags{}, FakePrinters(), where_), SaveResult::Saved);

  const std::string expected = std::string(
      "# \x82\xb1\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcd\x95\xd2\x8f\x57\x82\xb5\x82\xc8"
      "\x82\xa2\x82\xc5\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42\r\n"
      "\r\n[TXP]\r\n"
      "\r\n[TXP\\Options]\r\n"
      "ZoomSize=50\r\nAutoSizing=0\r\nDrawMargin=0\r\nBackColor=16777215\r\n"
      "WinWidth=550\r\nWinHeight=730\r\n"
      "Editor=C:\\\\tools\\\\ed.exe $F\r\n"
      "AutoReload=0\r\nCurDir=\r\nReg=1\r\nSetNum=1\r\nCurSet=0\r\n"
      "\r\n[TXP\\Options\\Setting0]\r\n"
      "SetName=\\8F\\89\\8A\\FA\\90\\DD\\92\\E8\\92\\6C\r\n"
      "Default=1\r\nPrinterName=PDF\r\nPaperSize=\\09\\00\r\nPaperName=A4\r\nPaperDir=0\r\n"
      "LeftMgnMm=20\r\nRightMgnMm=20\r\nTopMgnMm=20\r\nBottomMgnMm=20\r\n"
      "Width=80\r\nHeight=50\r\nFontPoint=11\r\n"
      "FontName=\\82\\6C\\82\\72 \\96\\BE\\92\\A9\r\n"
      "FontStyle=0\r\nFontCharSet=\\80\r\nFontPitch=\\02\r\n"
      "KeisenThin=2\r\nKeisenBold=5\r\nUnderLine=2\r\nTabSize=8\r\nPagePrn=0\r\n"
      "PageMargin=10\r\nPageStart=1\r\nYenCmd=0\r\n");
  EXPECT_EQ(ReadBytes(where_.ini_file), expected);
}

TEST_F(StoreTest, SaveThenLoadRestoresEveryFormatAndOptionInBothStores) {
  for (int reg : {0, 1}) {
    SCOPED_TRACE(reg == 0 ? "key tree" : "TXP.ini");
    fs::remove_all(tarn());
    fs::remove(where_.ini_file);
    ProgramOptions options;
    options.ZoomSize = 130;
    options.AutoSizing = 1;
    options.DrawMargin = 1;
    options.BackColor = 0xC0FFEE;
    options.WinWidth = 640;
    options.WinHeight = 480;
    options.Editor = "emacs +$L \"$F\"";
    options.AutoReload = 1;
    options.CurDir = "/home/大会/結果";
    options.Reg = reg;
    FormatList formats;
    AppendFormat(formats, ChangedFormat("速報"));
    PrintFormat second = DefaultPrintFormat(0);
    second.SetName = "ＭＳ 明朝の書式";
    AppendFormat(formats, second);
    formats.current = 1;
    ASSERT_EQ(SaveSettings(options, formats, RunFlags{}, FakePrinters(), where_), SaveResult::Saved);

    ProgramOptions loaded_options;
    FormatList loaded;
    EXPECT_EQ(LoadSettings(loaded_options, loaded, FakePrinters(), where_),
              reg == 0 ? LoadedFrom::Registry : LoadedFrom::IniFile);
    EXPECT_EQ(loaded_options.ZoomSize, 130);
    EXPECT_EQ(loaded_options.AutoSizing, 1);
    EXPECT_EQ(loaded_options.DrawMargin, 1);
    EXPECT_EQ(loaded_options.BackColor, 0xC0FFEEu);
    EXPECT_EQ(loaded_options.WinWidth, 640);
    EXPECT_EQ(loaded_options.WinHeight, 480);
    EXPECT_EQ(loaded_options.Editor, options.Editor);
    EXPECT_EQ(loaded_options.AutoReload, 1);
    EXPECT_EQ(loaded_options.CurDir, options.CurDir);
    EXPECT_EQ(loaded_options.Reg, reg);
    ASSERT_EQ(FormatCount(loaded), 2);
    EXPECT_EQ(loaded.current, 1);
    ExpectSameStoredFields(loaded.formats[0], formats.formats[0]);
    ExpectSameStoredFields(loaded.formats[1], formats.formats[1]);
  }
}

TEST_F(StoreTest, LoadingRulesForMissingKeysDefaultsAndOldZoom) {
  // Hand-made TXP.ini: SetNum 3 without Setting1, two formats marked Default, old zoom step 3.
  WriteBytes(where_.ini_file,
             "# x\r\nstray=1\r\n\r\n[TXP]\r\n\r\n[TXP\\Options]\r\nZoomSize=3\r\nSetNum=3\r\nCurSet=0\r\n"
             "\r\n[TXP\\Options\\Setting0]\r\nSetName=A\r\nDefault=1\r\nPrinterName=Gone\r\n"
             "\r\n[TXP\\Options\\Setting2]\r\nSetName=C\r\nDefault=1\r\nPrinterName=Office\r\nWidth=132\r\n");
  ProgramOptions options;
  FormatList formats;
  ASSERT_EQ(LoadSettings(options, formats, FakePrinters(), where_), LoadedFrom::IniFile);
  EXPECT_EQ(options.ZoomSize, 80);
  EXPECT_EQ(options.Editor, "NOTEPAD $F");  // missing values keep their defaults
  ASSERT_EQ(FormatCount(formats), 2);
  EXPECT_EQ(formats.formats[0].SetName, "A");
  EXPECT_EQ(formats.formats[0].printer, 0);  // unknown printer -> default printer
  EXPECT_EQ(formats.formats[1].SetName, "C");
  EXPECT_EQ(formats.formats[1].printer, 1);
  EXPECT_EQ(formats.formats[1].Width.value, 132);
  EXPECT_EQ(formats.formats[1].Height.value, 50);
  EXPECT_EQ(formats.current, 1);  // the later Default wins
}

TEST_F(StoreTest, StoredCurSetOutsideTheLoadedListIsNotUsed) {
  WriteBytes(where_.ini_file,
             "[TXP]\r\n[TXP\\Options]\r\nSetNum=2\r\nCurSet=1\r\n[TXP\\Options\\Setting0]\r\nSetName=A\r\n");
  ProgramOptions options;
  FormatList formats;
  LoadSettings(options, formats, FakePrinters(), where_);
  ASSERT_EQ(FormatCount(formats), 1);
  EXPECT_EQ(formats.current, 0);
}

TEST_F(StoreTest, NothingStoredLoadsNothing) {
  ProgramOptions options;
  FormatList formats;
  EXPECT_EQ(LoadSettings(options, formats, FakePrinters(), where_), LoadedFrom::Nothing);
  EXPECT_EQ(FormatCount(formats), 0);
  EXPECT_EQ(options.ZoomSize, 50);
}

TEST_F(StoreTest, KeyTreeLoadsFirstAndDeletedFormatsLeaveNoKeys) {
  ProgramOptions options;
  FormatList formats;
  for (const char* name : {"A", "B", "C"}) {
    PrintFormat f = DefaultPrintFormat(0);
    f.SetName = name;
    AppendFormat(formats, f);
  }
  ASSERT_EQ(SaveSettings(options, formats, RunFlags{}, FakePrinters(), where_), SaveResult::Saved);
  EXPECT_TRUE(fs::is_directory(tarn() / "TXP" / "Options" / "Setting2"));
  // A TXP.ini that also exists is not read while the key tree holds TXP.
  WriteBytes(where_.ini_file, "[TXP]\r\n[TXP\\Options]\r\nZoomSize=120\r\n");

  DeleteFormat(formats, 2);
  ASSERT_EQ(SaveSettings(options, formats, RunFlags{}, FakePrinters(), where_), SaveResult::Saved);
  EXPECT_FALSE(fs::exists(tarn() / "TXP" / "Options" / "Setting2"));

  ProgramOptions loaded_options;
  FormatList loaded;
  EXPECT_EQ(LoadSettings(loaded_options, loaded, FakePrinters(), where_), LoadedFrom::Registry);
  EXPECT_EQ(loaded_options.ZoomSize, 50);
  EXPECT_EQ(FormatNames(loaded), (std::vector<std::string>{"A", "B"}));
}

TEST_F(StoreTest, FormatsForThisRunOnlyAreNotSaved) {
  ProgramOptions options;
  FormatList formats;
  AppendFormat(formats, ChangedFormat("saved"));
  SaveSettings(options, formats, RunFlags{}, FakePrinters(), where_);
  formats.formats[0].SetName = "this run only";
  options.ZoomSize = 70;
  RunFlags run;
  run.formats_for_this_run_only = true;
  SaveSettings(options, formats, run, FakePrinters(), where_);
  ProgramOptions loaded_options;
  FormatList loaded;
  LoadSettings(loaded_options, loaded, FakePrinters(), where_);
  EXPECT_EQ(loaded_options.ZoomSize, 70);
  EXPECT_EQ(FormatNames(loaded), (std::vector<std::string>{"saved"}));
}

TEST_F(StoreTest, FormatsForThisRunOnlyKeepTheStoredFormatsInTheIniFileToo) {
  // TXP.ini is written whole at every save: the formats stored before (in the file, or in
  // the key tree that an INI save erases) must come through a save that leaves formats out.
  for (int stored_in : {0, 1}) {
    SCOPED_TRACE(stored_in == 0 ? "stored in the key tree" : "stored in TXP.ini");
    fs::remove_all(tarn());
    fs::remove(where_.ini_file);
    ProgramOptions options;
    options.Reg = stored_in;
    FormatList formats;
    AppendFormat(formats, ChangedFormat("saved A"));
    AppendFormat(formats, ChangedFormat("saved B"));
    formats.current = 1;
    ASSERT_EQ(SaveSettings(options, formats, RunFlags{}, FakePrinters(), where_), SaveResult::Saved);

    formats.formats[0].SetName = "this run only";
    DeleteFormat(formats, 1);
    options.Reg = 1;
    options.ZoomSize = 70;
    RunFlags run;
    run.formats_for_this_run_only = true;
    ASSERT_EQ(SaveSettings(options, formats, run, FakePrinters(), where_), SaveResult::Saved);
    EXPECT_FALSE(fs::exists(tarn() / "TXP"));

    ProgramOptions loaded_options;
    FormatList loaded;
    ASSERT_EQ(LoadSettings(loaded_options, loaded, FakePrinters(), where_), LoadedFrom::IniFile);
    EXPECT_EQ(loaded_options.ZoomSize, 70);
    EXPECT_EQ(FormatNames(loaded), (std::vector<std::string>{"saved A", "saved B"}));
    EXPECT_EQ(loaded.current, 1);
    ExpectSameStoredFields(loaded.formats[0], ChangedFormat("saved A"));
  }
}

TEST_F(StoreTest, SwitchingToTheIniStoreErasesTheKeyTreeButKeepsTarn) {
  ProgramOptions options;
  FormatList formats;
  AppendFormat(formats, ChangedFormat("A"));
  SaveSettings(options, formats, RunFlags{}, FakePrinters(), where_);
  ASSERT_TRUE(fs::is_directory(tarn() / "TXP"));
  options.Reg = 1;
  ASSERT_EQ(SaveSettings(options, formats, RunFlags{}, FakePrinters(), where_), SaveResult::Saved);
  EXPECT_FALSE(fs::exists(tarn() / "TXP"));
  EXPECT_TRUE(fs::is_directory(tarn()));
  ProgramOptions loaded_options;
  FormatList loaded;
  EXPECT_EQ(LoadSettings(loaded_options, loaded, FakePrinters(), where_), LoadedFrom::IniFile);
  EXPECT_EQ(loaded_options.Reg, 1);
  ASSERT_EQ(FormatCount(loaded), 1);
  ExpectSameStoredFields(loaded.formats[0], formats.formats[0]);
}

TEST_F(StoreTest, UnwritableIniKeepsTheKeyTree) {
  ProgramOptions options;
  FormatList formats;
  AppendFormat(formats, ChangedFormat("A"));
  SaveSettings(options, formats, RunFlags{}, FakePrinters(), where_);
  options.Reg = 1;
  StoreLocations bad = where_;
  bad.ini_file = dir_ / "missing-folder" / "TXP.ini";
  EXPECT_EQ(SaveSettings(options, formats, RunFlags{}, FakePrinters(), bad), SaveResult::IniNotWritable);
  EXPECT_TRUE(fs::is_directory(tarn() / "TXP" / "Options" / "Setting0"));
}

TEST_F(StoreTest, EraseRemovesTxpEvenWithGapsAndKeepsTheIniFile) {
  ProgramOptions options;
  FormatList formats;
  AppendFormat(formats, ChangedFormat("A"));
  AppendFormat(formats, ChangedFormat("B"));
  SaveSettings(options, formats, RunFlags{}, FakePrinters(), where_);
  fs::create_directories(tarn() / "TXP" / "Options" / "Setting5");  // not reachable by numbering
  fs::create_directories(tarn() / "Other");
  WriteBytes(where_.ini_file, "[TXP]\r\n");
  EraseStoredSettings(where_);
  EXPECT_FALSE(fs::exists(tarn() / "TXP"));
  EXPECT_TRUE(fs::is_directory(tarn() / "Other"));
  EXPECT_TRUE(fs::exists(where_.ini_file));
}

TEST(StoreKeyTree, DeleteRefusesKeysWithSubKeysAndValuesKeepTheirTypes) {
  char pattern[] = "/tmp/txp-keys-XXXXXX";
  fs::path root = mkdtemp(pattern);
  {
    RegistryStore store(root);
    KeyRecord* key = store.CreateKey("TXP\\Options");
    ASSERT_NE(key, nullptr);
    WriteNumber(*key, "SetNum", -2);
    WriteText(*key, "Editor", "vi");
    WriteText(*key, "Editor", "nano $F");  // replaced, not added
    EXPECT_TRUE(store.CloseKey(key));
    EXPECT_FALSE(store.DeleteKey("TXP"));
  }
  {
    RegistryStore store(root);
    KeyRecord* key = store.OpenKey("TXP\\Options");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(ReadNumber(*key, "SetNum"), -2);
    EXPECT_EQ(ReadText(*key, "Editor", 261), "nano $F");
    EXPECT_EQ(ReadText(*key, "Editor", 5), "nano");
    EXPECT_FALSE(ReadNumber(*key, "Editor").has_value());  // a text is no number in the key tree
    EXPECT_EQ(key->values.size(), 2u);
    store.CloseKey(key);
    EXPECT_TRUE(store.DeleteKey("TXP\\Options"));
    EXPECT_TRUE(store.DeleteKey("TXP"));
    EXPECT_EQ(store.OpenKey("TXP"), nullptr);
  }
  fs::remove_all(root);
}
