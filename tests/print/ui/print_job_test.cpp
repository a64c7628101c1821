// Printing: the dialog's range rules, the printable-page check, the job on PDFs that Qt
// writes (text and geometry), on the CUPS cups-pdf queue "PDF", and txp -p -q headless.
#include "print/printing/print_job.h"

#include <gtest/gtest.h>

#include <QPrinterInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <algorithm>
#include <filesystem>
#include <pwd.h>
#include <set>
#include <unistd.h>

#include "print/printing/printers.h"
#include "print/ui/startup.h"
#include "ui_test_support.h"

namespace fs = std::filesystem;
using namespace txp;
using txp_test::ScratchFolder;
using txp_test::WriteCp932;

namespace {

// Output of a command (stdout), empty when it cannot run.
std::string RunTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(60000)) return {};
  return p.readAllStandardOutput().toStdString();
}

int PdfPages(const fs::path& pdf) {
  const std::string info = RunTool("pdfinfo", {QString::fromStdString(pdf.string())});
  const auto at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// "W x H" of one page in points, from pdfinfo.
std::pair<double, double> PdfPageSize(const fs::path& pdf, int page) {
  const QString n = QString::number(page);
  const std::string info = RunTool("pdfinfo", {"-f", n, "-l", n, QString::fromStdString(pdf.string())});
  const auto at = info.find("size:");
  if (at == std::string::npos) return {0, 0};
  double w = 0, h = 0;
  std::sscanf(info.c_str() + at + 5, "%lf x %lf", &w, &h);
  return {w, h};
}

Document LoadReport(const ScratchFolder& folder, const PrintFormat& format, const std::string& text) {
  const fs::path file = folder / "report.txt";
  WriteCp932(file, text);
  Document doc;
  EXPECT_EQ(LoadText(doc, file.string(), format), LoadResult::Ok);
  BuildPages(doc, format);
  return doc;
}

// The folder where cups-pdf writes jobs of the current user (its default "Out ${HOME}/PDF").
fs::path CupsPdfFolder() {
  const passwd* pw = getpwuid(getuid());
  return fs::path(pw ? pw->pw_dir : "/root") / "PDF";
}

std::set<fs::path> PdfsIn(const fs::path& folder) {
  std::set<fs::path> files;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec))
    if (e.path().extension() == ".pdf") files.insert(e.path());
  return files;
}

// Waits for a new, completely written PDF in folder whose name (cups-pdf makes it from the
// job title, the document path) contains marker.
fs::path WaitForNewPdf(const fs::path& folder, const std::set<fs::path>& before, const std::string& marker) {
  for (int i = 0; i < 600; ++i) {
    for (const fs::path& f : PdfsIn(folder)) {
      if (before.count(f) || f.filename().string().find(marker) == std::string::npos) continue;
      if (PdfPages(f) > 0) return f;
    }
    QThread::msleep(100);
  }
  return {};
}

bool CupsQueueAvailable() { return !QPrinterInfo::printerInfo("PDF").isNull(); }

}  // namespace

TEST(PrintRange, DialogRulesKeepTheRangeInsideTheDocument) {
  struct Case {
    PrintRangeChoice choice;
    std::string first, last;
    int current_index;
    int want_first, want_last;
  };
  const std::vector<Case> cases = {
      {PrintRangeChoice::AllPages, "5", "6", 0, 1, 12},
      {PrintRangeChoice::TypedRange, "0", "999", 0, 1, 12},
      {PrintRangeChoice::TypedRange, "9", "3", 0, 3, 9},
      {PrintRangeChoice::TypedRange, "abc", "-4", 0, 1, 1},
      {PrintRangeChoice::ThisPage, "2", "3", 4, 5, 5},
  };
  for (const Case& c : cases) {
    const PrintRequest r = PrintRequestFromDialog(c.choice, c.first, c.last, c.current_index, 12, true);
    EXPECT_EQ(r.first, c.want_first) << c.first << ".." << c.last;
    EXPECT_EQ(r.last, c.want_last) << c.first << ".." << c.last;
    EXPECT_TRUE(r.overlay);
  }
}

TEST(PrintRange, APrintablePageIsNeededInTheRange) {
  ScratchFolder folder;
  Document doc = LoadReport(folder, DefaultPrintFormat(0), "1\n\f-X\n2\n\f-X\n3\n\f\n4\n");
  ASSERT_EQ(doc.pages.size(), 4u);
  EXPECT_FALSE(CheckPagesToPrint(doc, 2, 3));
  EXPECT_TRUE(CheckPagesToPrint(doc, 2, 4));
  EXPECT_TRUE(CheckPagesToPrint(doc, 1, 1));
}

TEST(PrintJob, QtPdfHasThePrintedPagesTheirDirectionAndText) {
  ScratchFolder folder;
  const PrintFormat format = DefaultPrintFormat(0);
  const Document doc = LoadReport(folder, format, txp_test::ThreePageReport());
  ASSERT_EQ(doc.pages.size(), 3u);
  const fs::path pdf = folder / "out.pdf";
  std::vector<int> progress;
  PrintJobHooks hooks;
  hooks.progress = [&progress](int index) { progress.push_back(index); };
  EXPECT_EQ(PrintThread(doc, format, {1, 3, false}, {"", pdf.string()}, "report.txt", hooks), PrintOutcome::Printed);
  EXPECT_EQ(progress, (std::vector<int>{0, 1, 2}));
  ASSERT_EQ(PdfPages(pdf), 2);  // the -X page is not printed
  const auto [w1, h1] = PdfPageSize(pdf, 1);
  const auto [w2, h2] = PdfPageSize(pdf, 2);
  EXPECT_LT(w1, h1);  // portrait
  EXPECT_GT(w2, h2);  // -DY: landscape
  EXPECT_NEAR(w1, 595.3, 1.0);
  // Glyphs sit on the page grid, so pdftotext may put blanks between them.
  std::string text = RunTool("pdftotext", {QString::fromStdString(pdf.string()), "-"});
  std::erase(text, ' ');
  EXPECT_NE(text.find("大会結果一覧"), std::string::npos) << text;
  EXPECT_NE(text.find("横向きのページ"), std::string::npos) << text;
  EXPECT_EQ(text.find("このページは印刷しない"), std::string::npos) << text;
}

TEST(PrintJob, OverlayPutsEveryPrintedPageOnOneSheet) {
  ScratchFolder folder;
  const PrintFormat format = DefaultPrintFormat(0);
  const Document doc = LoadReport(folder, format, "\f-X\nx\n\f\n一\n\f\n二\n\f\n三\n");
  const fs::path pdf = folder / "overlay.pdf";
  EXPECT_EQ(PrintThread(doc, format, {1, 4, true}, {"", pdf.string()}, "x"), PrintOutcome::Printed);
  EXPECT_EQ(PdfPages(pdf), 1);
  const std::string text = RunTool("pdftotext", {QString::fromStdString(pdf.string()), "-"});
  for (const char* page : {"一", "二", "三"}) EXPECT_NE(text.find(page), std::string::npos) << page;
}

TEST(PrintJob, UnknownPrinterAndUserAbort) {
  ScratchFolder folder;
  const PrintFormat format = DefaultPrintFormat(0);
  const Document doc = LoadReport(folder, format, "一\n\f\n二\n");
  EXPECT_EQ(PrintThread(doc, format, {1, 2, false}, {"no-such-printer-here", ""}, "x"), PrintOutcome::NoDevice);
  bool abort = true;
  PrintJobHooks hooks;
  hooks.user_abort = &abort;
  EXPECT_EQ(PrintThread(doc, format, {1, 2, false}, {"", (folder / "a.pdf").string()}, "x", hooks),
            PrintOutcome::UserAborted);
}

TEST(PrintJob, CupsPdfQueueReceivesTheJob) {
  if (!CupsQueueAvailable()) GTEST_SKIP() << "no CUPS queue named PDF (scripts/start-cups starts one)";
  ScratchFolder folder;
  PrintFormat format = DefaultPrintFormat(0);
  const Document doc = LoadReport(folder, format, txp_test::ThreePageReport());
  const auto before = PdfsIn(CupsPdfFolder());
  const std::string marker = folder.path.filename().string();  // unique per run
  EXPECT_EQ(PrintThread(doc, format, {1, 3, false}, {"PDF", ""}, (folder / "report.txt").string()),
            PrintOutcome::Printed);
  const fs::path pdf = WaitForNewPdf(CupsPdfFolder(), before, marker);
  ASSERT_FALSE(pdf.empty()) << "no PDF arrived in " << CupsPdfFolder();
  EXPECT_EQ(PdfPages(pdf), 2);
}

namespace {

struct ProgramRun {
  bool finished = false;
  int exit_code = -1;
  std::string errors;  // standard error
};

// Runs build/bin/txp/txp with arguments in a plain terminal's environment (no display), with
// its home and config folders in folder and the PDF queue as the default printer.
ProgramRun RunTxpWithoutDisplay(const ScratchFolder& folder, const QStringList& args) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
  env.insert("HOME", QString::fromStdString(folder.path.string()));
  env.insert("XDG_CONFIG_HOME", QString::fromStdString((folder / "config").string()));
  env.insert("PRINTER", "PDF");  // the default printer of this run
  QProcess txp;
  txp.setProcessEnvironment(env);
  txp.start(QString(BIN_DIR) + "/txp/txp", args);
  ProgramRun run;
  run.finished = txp.waitForFinished(120000);
  if (!run.finished) txp.kill();
  run.exit_code = txp.exitStatus() == QProcess::NormalExit ? txp.exitCode() : -1;
  run.errors = txp.readAllStandardError().toStdString();
  return run;
}

}  // namespace

TEST(PrintProgram, PrintAndQuitWithoutADisplay) {
  if (!CupsQueueAvailable()) GTEST_SKIP() << "no CUPS queue named PDF (scripts/start-cups starts one)";
  ScratchFolder folder;
  const fs::path report = folder / "report with blanks.txt";
  WriteCp932(report, txp_test::ThreePageReport());
  const auto before = PdfsIn(CupsPdfFolder());

  const ProgramRun run = RunTxpWithoutDisplay(folder, {"-p", "-q", QString::fromStdString(report.string())});
  ASSERT_TRUE(run.finished) << run.errors;
  EXPECT_EQ(run.exit_code, 0) << run.errors;
  const fs::path pdf = WaitForNewPdf(CupsPdfFolder(), before, folder.path.filename().string());
  ASSERT_FALSE(pdf.empty());
  EXPECT_EQ(PdfPages(pdf), 2);
  // The settings of the run were saved in the key tree of its own config folder.
  EXPECT_TRUE(fs::is_directory(folder / "config" / "Tarn" / "TXP" / "Options" / "Setting0"));
}

TEST(PrintProgram, WithoutADisplayEveryRunEndsAndTellsWhetherItPrinted) {
  if (!CupsQueueAvailable()) GTEST_SKIP() << "no CUPS queue named PDF (scripts/start-cups starts one)";
  struct Case {
    QStringList options;
    int exit_code;
    std::string error;  // expected on standard error
  };
  const std::vector<Case> cases = {
      {{"-p"}, 0, ""},                                               // printed, no -q
      {{"-p", "-q", "-print"}, 1, "オプション「-print」が間違っています."},  // refused: nothing printed
      {{"-p", "-q", "-s", "no such format"}, 1, "書式名「no such format」はありません."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options.join(' ').toStdString());
    ScratchFolder folder;
    const fs::path report = folder / "report.txt";
    WriteCp932(report, "一\n");
    const ProgramRun run = RunTxpWithoutDisplay(folder, QStringList(c.options) << QString::fromStdString(report.string()));
    ASSERT_TRUE(run.finished) << "txp did not end: " << run.errors;
    EXPECT_EQ(run.exit_code, c.exit_code) << run.errors;
    if (!c.error.empty()) {
      EXPECT_NE(run.errors.find(c.error), std::string::npos) << run.errors;
    }
  }
}

TEST(PrintProgram, WithoutADisplayAndWithoutPrintingItSaysWhyItEnds) {
  ScratchFolder folder;
  const ProgramRun run = RunTxpWithoutDisplay(folder, {});
  ASSERT_TRUE(run.finished) << run.errors;
  EXPECT_EQ(run.exit_code, 1) << run.errors;
  EXPECT_NE(run.errors.find(kNoDisplayMessage), std::string::npos) << run.errors;
}
