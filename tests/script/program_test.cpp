// The distrato-script program as a user runs it, with a stand-in module.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct Outcome {
  int status = -1;
  std::string output;
};

class ProgramTest : public ::testing::Test {
 protected:
  void TearDown() override { std::filesystem::remove(script_path_); }

  Outcome Run(const std::string& script, const std::string& module = DX_FAKE_MODULE) {
    std::ofstream(script_path_) << script;
    return RunCommand(std::string("env -u DX_SERVER -u DX_DATE DX_BRANCH=0042 ") + DX_SCRIPT_EXE + " --module " +
                      module + " " + script_path_.string());
  }

  // A command line run by the shell; its standard error joins its output.
  static Outcome RunCommand(const std::string& commandLine) {
    const std::string command = commandLine + " 2>&1";
    Outcome out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    std::array<char, 512> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe)) out.output += buffer.data();
    const int raw = pclose(pipe);
    out.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
  }

  static std::string LastLine(const std::string& text) {
    std::string trimmed = text;
    while (!trimmed.empty() && trimmed.back() == '\n') trimmed.pop_back();
    return trimmed.substr(trimmed.rfind('\n') + 1);
  }

  std::filesystem::path script_path_ =
      std::filesystem::temp_directory_path() / ("program_test_" + std::to_string(::getpid()) + ".dscript");
};

TEST_F(ProgramTest, TheModuleSharesTheLoginTheFormsAndTheDialogs) {
  Outcome r = Run(
      "open\n"
      "form frmDistrato\n"
      "expect text medCdFilial \"0042\"\n"
      "click btnAviso\n"
      "expect message \"Filial 0042.\" type=information\n");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(LastLine(r.output), "2 passed, 0 failed") << r.output;
  EXPECT_NE(r.output.find("3: expect text medCdFilial \"0042\" ... ok"), std::string::npos) << r.output;
}

TEST_F(ProgramTest, TheScriptsLoginWinsOverTheEnvironment) {
  Outcome r = Run("login branch=0001\nopen\nexpect text medCdFilial \"0001\"\n");
  EXPECT_EQ(r.status, 0) << r.output;
}

TEST_F(ProgramTest, AFailedExpectationExitsNonZeroNamingTheLine) {
  Outcome r = Run("open\n\nexpect text medCdFilial \"0001\"\nexpect text medCdFilial \"0042\"\n");
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find("FAILED at line 3: medCdFilial text: expected \"0001\", found \"0042\""), std::string::npos)
      << r.output;
  EXPECT_EQ(LastLine(r.output), "0 passed, 1 failed") << r.output;
}

TEST_F(ProgramTest, AMissingModuleFailsTheOpenStep) {
  Outcome r = Run("open\n", "/nonexistent/libPkg_DXR10900.so");
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find("cannot load the module /nonexistent/libPkg_DXR10900.so"), std::string::npos) << r.output;
}

TEST_F(ProgramTest, ASyntaxErrorStopsBeforeAnythingRuns) {
  Outcome r = Run("open\ntype medCdFilial \"0001\n");
  EXPECT_EQ(r.status, 2) << r.output;
  EXPECT_NE(r.output.find(":2: quoted text is not closed"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("1: open"), std::string::npos) << r.output;
}

// The command line: asked for, the usage on standard output and status 0;
// a mistake told above the usage with status 2, before any step runs. The
// processing date comes in either form the desktop host reads.
TEST_F(ProgramTest, TellsWhatIsWrongWithTheCommandLineAndTheEnvironment) {
  std::ofstream(script_path_) << "open\n";
  const std::string script = script_path_.string();
  const std::string program = std::string(DX_SCRIPT_EXE) + " --module " + DX_FAKE_MODULE;
  const struct {
    std::string environment;
    std::string arguments;
    int status;
    std::string start;  // how the output begins
  } cases[] = {
      {"", "--help", 0, "usage: distrato-script [--server HOST:PORT"},
      {"", "-h", 0, "usage: distrato-script"},
      {"", "--version", 0, "distrato-script "},
      {"", "", 2, "distrato-script: no script given\nusage: distrato-script"},
      {"", script + " --server", 2, "distrato-script: --server needs a value\nusage:"},
      {"", "--frobnicate " + script, 2, "distrato-script: unknown option --frobnicate\nusage:"},
      {"", script + " outro.dscript", 2, "distrato-script: only one script at a time (" + script + ", outro.dscript)"},
      {"", "--server semporta " + script, 2, "distrato-script: --server must be HOST:PORT, not semporta"},
      {"", "--server=127.0.0.1:7100 --tls=false " + script, 0, "1: open ... ok"},
      {"DX_DATE=2026-12-01", script, 0, "1: open ... ok"},
      {"DX_DATE=01/12/2026", script, 0, "1: open ... ok"},
      {"DX_DATE=2026-13-01", script, 2,
       "distrato-script: DX_DATE inválida (esperado dd/mm/aaaa ou aaaa-mm-dd): 2026-13-01"},
  };
  for (const auto& c : cases) {
    const Outcome r = RunCommand("env -u DX_SERVER -u DX_DATE " + c.environment + " " + program + " " + c.arguments);
    EXPECT_EQ(r.status, c.status) << c.environment << " " << c.arguments << "\n" << r.output;
    EXPECT_EQ(r.output.rfind(c.start, 0), 0u) << c.environment << " " << c.arguments << "\n" << r.output;
  }
}

}  // namespace
