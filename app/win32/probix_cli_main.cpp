// probix-cli.exe: the diagnostic without windows. Runs the same check engine,
// prints the lines the progress view would show, writes the result text, and
// exits with the overall grade (0 excellent, 2 satisfactory, 3 error).
//
//   probix-cli [-l=login] [-t=language] [-o=result.txt] [-r=items.tsv]
//              [-w=web address] [-i=internet probe host] [-v]
#include <winsock2.h>
#include <windows.h>
#include <objbase.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "app/command_line.h"
#include "app/service_config.h"
#include "app/win32/language_platform_win32.h"
#include "app/win32/resource_module.h"
#include "app/win32/startup_win32.h"
#include "base/format.h"
#include "base/utf8.h"
#include "base/win32/system_clock.h"
#include "engine/check_worker.h"
#include "engine/module_factory.h"
#include "engine/result_text.h"
#include "engine/win32/worker_platform_win32.h"
#include "modules/win32/icmp_api_win32.h"
#include "modules/win32/sip_environment_win32.h"

namespace {

void Print(const std::wstring& text) {
  const std::string bytes = base::ToUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

bool WriteUtf8File(const std::wstring& path, const std::wstring& text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::string bytes = base::ToUtf8(text);
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\\') out += L"\\\\";
    else if (c == L'\t') out += L"\\t";
    else if (c == L'\r') out += L"\\r";
    else if (c == L'\n') out += L"\\n";
    else out += c;
  }
  return out;
}

class ConsoleListener : public CheckWorkerListener {
 public:
  explicit ConsoleListener(bool verbose) : m_verbose(verbose) {}

  void OnMessage(const wchar_t* text, int show) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_text.AddLine(text);
    if (show || m_verbose) {
      Print(text ? text : L"");
      Print(L"\n");
    }
  }
  void OnProgress(int percent) override {
    if (!m_verbose) Print(base::Format(L"[%3d%%]\n", percent));
  }
  void OnFinished() override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_finished = true;
    m_done.notify_all();
  }
  void WaitFinished() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_done.wait(lock, [this] { return m_finished; });
  }
  engine::ResultText& Text() { return m_text; }

 private:
  bool m_verbose;
  std::mutex m_mutex;
  std::condition_variable m_done;
  bool m_finished = false;
  engine::ResultText m_text;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  app::HardenDllSearch();
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  std::wstring commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += L' ';
    commandLine += argv[i];
  }
  app::AppState& state = app::App();
  app::ReadOptions(commandLine, state);
  if (app::CLanguageSupport* language = app::LanguageSupportInstance())
    app::ChooseLanguage(*language, app::StartupLanguageCandidates(state.languageOption, language->OwnLanguage()));

  app::ResourceStrings strings;
  app::ServiceConfig config = app::MakeServiceConfig(strings);
  if (auto web = app::FindOption(commandLine, L"-w"); web && !web->empty()) config.serviceWebAddress = *web;
  if (auto probe = app::FindOption(commandLine, L"-i"); probe && !probe->empty()) config.internetProbeHost = *probe;
  const bool verbose = app::FindOption(commandLine, L"-v").has_value();

  base::SystemClock clock;
  Diagnostic::ModuleContext context{&strings, &clock};
  Diagnostic::Win32IcmpApi icmp;
  Diagnostic::Win32SipEnvironment sip(clock);
  engine::StandardModuleFactory factory(context, icmp, &sip.Get());
  engine::Win32WorkerPlatform platform;
  ConsoleListener listener(verbose);
  CheckWorker worker(&listener, &config, factory, platform, strings);

  // As the main frame does at the first start: the login's domain gives the
  // service address.
  WSADATA wsa;
  const bool sockets = WSAStartup(MAKEWORD(1, 1), &wsa) == 0;
  const std::wstring domain = app::DomainOfLogin(state.currentLogin);
  if (!domain.empty()) {
    uint32_t error = 0;
    const std::optional<uint32_t> address = icmp.Resolve(domain, &error);
    if (!address) {
      worker.OnMessage(base::Format(L"Can't get ip by service name. Error=%d", error).c_str(), 1);
    } else if (const std::wstring dotted = icmp.DottedText(*address); !dotted.empty()) {
      app::ApplyServiceAddress(config, dotted);
      worker.OnMessage((L"SRV-request successful. Domain ip:" + dotted).c_str(), 0);
    }
  }

  if (!worker.Start()) {
    Print(L"cannot start the check thread\n");
    return 4;
  }
  listener.WaitFinished();
  worker.Wait();

  const CheckResults& results = worker.Results();
  const int grade = engine::OverallGrade(results);
  listener.Text().AppendGrade(strings, grade);
  Print(L"\n" + strings.Load(engine::kIdGradeHeading) + L" " + engine::GradeWord(strings, grade) + L"\n");
  std::wstring items;
  for (const auto& r : results) {
    const std::wstring word = engine::GradeWord(strings, r->grade);
    Print(base::Format(L"  %s%s%s%s\n", r->title, r->value.empty() ? L"" : L" ", r->value,
                       word.empty() ? std::wstring() : L": " + word));
    if (!r->recommendation.empty()) Print(L"      " + r->recommendation + L"\n");
    items += base::Format(L"%d\t%s\t%s\t%s\n", r->grade, Escaped(r->title), Escaped(r->value),
                          Escaped(r->recommendation));
  }

  int status = grade;
  if (auto out = app::FindOption(commandLine, L"-o"); out && !out->empty())
    if (!WriteUtf8File(*out, listener.Text().Text())) status = 4;
  if (auto out = app::FindOption(commandLine, L"-r"); out && !out->empty())
    if (!WriteUtf8File(*out, items)) status = 4;

  if (sockets) WSACleanup();
  CoUninitialize();
  return status;
}
