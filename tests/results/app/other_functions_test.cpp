// Entries that open files and start programs: the text-file submenu, the program path,
// the print program's settings and the command prompt.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "app_test_support.h"
#include "results/app/menu.h"
#include "results/app/other_functions.h"
#include "results/app/startup.h"
#include "results/app/submenus.h"
#include "results/shell/files.h"
#include "results/shell/output.h"
#include "results/shell/output_kind.h"
#include "results/shell/program_info.h"

namespace {

using test_support::read_bytes;
using test_support::write_bytes;

// A stand-in editor or shell: appends its arguments (or "ran") to a log file.
std::string make_recorder(const AppScreen& s, const std::string& log) {
  const std::string script = s.dir.file("recorder.sh");
  write_bytes(script, "#!/bin/sh\nif [ $# -eq 0 ]; then echo ran >> '" + log +
                          "'; else echo \"$@\" >> '" + log + "'; fi\n");
  chmod(script.c_str(), 0755);
  return script;
}

TEST(TextFileMenu, EveryEntryOpensItsFileWithTheEditor) {
  AppScreen s;
  const std::string log = s.dir.file("opened.log");
  const std::string editor = make_recorder(s, log);
  s.write_option(u8"LISTFILE=kekka.txt,1\r\n");
  std::string option = read_bytes(s.dir.file("OPTION.TXT")) + "EDITOR=\"" + editor + "\"\r\n";
  write_bytes(s.dir.file("OPTION.TXT"), option);
  // The HTML pages are opened by the desktop, which without a graphical session is the
  // user's editor too.
  ScopedEnv visual("VISUAL", editor.c_str());
  mkdir("html", 0755);
  mkdir("html_keitai", 0755);
  write_bytes("html/index.htm", "<html></html>");
  write_bytes("html_keitai/index.htm", "<html></html>");

  s.con->feed_keys({'1', '2', '3', '4', '5', '6', '7', '8', '9', KEY_ESC});
  run_submenu(text_file_menu);
  // The editor gets the names as the file system has them: UTF-8.
  EXPECT_EQ(read_bytes(log),
            "EKI.TXT\nBUMON.TXT\nTEAM.TXT\nSENSYU.TXT\nOPTION.TXT\nkekka.txt\n"
            "html/index.htm\nhtml_keitai/index.htm\n" +
                u(u8"区間賞TAB.txt\n団体賞TAB.txt\n"));
  EXPECT_EQ(s.con->beep_count(), 0);
}

TEST(TextFileMenu, MissingHtmlPagesAreNamed) {
  AppScreen s;
  s.con->feed_keys({'7', 'y', KEY_ESC});
  run_submenu(text_file_menu);
  EXPECT_EQ(s.con->keys_left(), 0u);
}

TEST(CertificateMenu, MissingDocumentsAreExplainedAndConfirmed) {
  AppScreen s;
  s.con->feed_keys({'2'});
  EXPECT_THROW(run_submenu(certificate_menu), VirtualConsole::KeysExhausted);
  const std::string screen = s.con->screen_text();
  EXPECT_NE(screen.find(u(u8"\"区間賞賞状.docm\" パスまたはファイルが見つかりません")), std::string::npos)
      << screen;
  EXPECT_NE(screen.find(u(u8"\"区間賞賞状.doc\" パスまたはファイルが見つかりません")), std::string::npos);
  EXPECT_NE(screen.find(u(u8"上のメッセージを確認したら Y を入力[ ]")), std::string::npos);
}

TEST(CertificateMenu, OpensTheDocumentWithTheDesktop) {
  AppScreen s;
  const std::string log = s.dir.file("opened.log");
  ScopedEnv visual("VISUAL", make_recorder(s, log).c_str());
  write_bytes(s.dir.file(u(u8"団体賞賞状.doc")), "doc");  // names on disk are UTF-8
  s.con->feed_keys({'7', KEY_ESC});
  run_submenu(certificate_menu);
  EXPECT_EQ(read_bytes(log), u(u8"団体賞賞状.doc\n"));
}

TEST(OtherFunctions, ProgramPathScreen) {
  AppScreen s;
  set_program_path("test_results_app");  // resolved to this test program's file
  s.con->feed_keys({'y'});
  // The menu redraws after the entry: look at the entry's screen itself.
  show_program_path();
  VirtualConsole& v = *s.con;
  EXPECT_EQ(v.row_text(1), u(u8"今動いているHAKOBU32のプログラムファイルは"));
  EXPECT_EQ(v.row_text(2), test_support::to_utf8(program_path()));
  EXPECT_EQ(v.attr_at(2, 0), kAttrPath);
  EXPECT_TRUE(v.row_text(3).starts_with("version 3.74  20")) << v.row_text(3);
}

TEST(OtherFunctions, PrintProgramSettingsRunsThePrintProgramOrReportsItMissing) {
  AppScreen s;
  set_print_program_path(s.dir.file("txp/txp"));
  s.con->feed_keys({'y'});
  print_program_settings();
  const std::string screen = s.con->screen_text();
  EXPECT_NE(screen.find(u(u8"パスまたはファイルが見つかりません")), std::string::npos) << screen;
  EXPECT_NE(screen.find("txp/txp"), std::string::npos);
  EXPECT_EQ(s.con->keys_left(), 0u);

  // Once it is there it runs, without arguments, and is waited for.
  const std::string log = s.dir.file("txp.log");
  mkdir("txp", 0755);
  write_bytes("txp/txp", "#!/bin/sh\necho \"ran $#\" >> '" + log + "'\n");
  chmod("txp/txp", 0755);
  print_program_settings();
  EXPECT_EQ(read_bytes(log), "ran 0\n");
  set_print_program_path("");
}

TEST(OtherFunctions, CommandPromptRunsTheUsersShell) {
  AppScreen s;
  const std::string log = s.dir.file("shell.log");
  ScopedEnv shell("SHELL", make_recorder(s, log).c_str());
  s.con->feed_keys({'c', KEY_ESC});
  run_submenu(other_functions_menu);
  EXPECT_EQ(read_bytes(log), "ran\n");
  EXPECT_EQ(s.con->suspend_count(), 1);
  EXPECT_FALSE(s.con->suspended());
}

TEST(OtherFunctions, SpeedTableGoesToTheChosenDestination) {
  AppScreen s;
  const std::string log = s.dir.file("opened.log");
  s.write_option(u8"LISTFILE=speed.txt,0\r\n");
  write_bytes(s.dir.file("OPTION.TXT"),
              read_bytes(s.dir.file("OPTION.TXT")) + "EDITOR=" + make_recorder(s, log) + "\r\n");
  set_out_kind_no(kOutFile);
  s.con->feed_keys({'4', KEY_ESC});
  run_submenu(other_functions_menu);
  EXPECT_TRUE(read_bytes("speed.txt").starts_with(test_support::to_cp932(u(u8"スピード：タイム換算表\r\n"))));
  EXPECT_EQ(read_bytes(log), "speed.txt\n");
}

TEST(StartUp, FirstRunFilesAreDeletedAndTheReadmeShownOnce) {
  AppScreen s;
  const std::string log = s.dir.file("opened.log");
  ScopedEnv visual("VISUAL", make_recorder(s, log).c_str());
  mkdir("prog", 0755);
  write_bytes("prog/please_delete_me.tmp", "");
  write_bytes("prog/readme.txt", "readme");
  write_bytes("make_shortcut_on_desktop.exe", "");
  handle_first_run_files("prog/");
  EXPECT_FALSE(file_exists("prog/please_delete_me.tmp"));
  EXPECT_FALSE(file_exists("make_shortcut_on_desktop.exe"));
  EXPECT_EQ(read_bytes(log), "prog/readme.txt\n");
  handle_first_run_files("prog/");  // no marker any more: nothing is shown
  EXPECT_EQ(read_bytes(log), "prog/readme.txt\n");
}

TEST(StartUp, MissingHelpPageSaysWhereToPutIt) {
  AppScreen s(/*with_help_page=*/false);
  s.con->feed_keys({'y'});
  check_help_file();
  EXPECT_EQ(s.con->row_text(0), u(u8"ヘルプファイル（hakobu32.html）を"));
  EXPECT_EQ(s.con->row_text(2), u(u8"に置いておいてください"));
  EXPECT_EQ(s.con->keys_left(), 0u);

  AppScreen t;  // with the page nothing is said
  check_help_file();
  EXPECT_EQ(t.con->row_text(0), "");
}

}  // namespace
