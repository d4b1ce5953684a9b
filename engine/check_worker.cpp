#include "engine/check_worker.h"

#include <system_error>

#include "base/format.h"

namespace {
constexpr unsigned kIdCustomerId = 10005;
}

CheckWorker::CheckWorker(CheckWorkerListener* listener, const app::ServiceConfig* config,
                         engine::ModuleFactory& factory, WorkerPlatform& platform, const base::Strings& strings)
    : m_listener(listener), m_config(config), m_factory(factory), m_platform(platform), m_strings(strings) {}

CheckWorker::~CheckWorker() {
  Stop();
  Wait();
  SetRunModules(nullptr, nullptr, nullptr, nullptr);
  m_results.clear();
}

void CheckWorker::OnMessage(const wchar_t* text, int show) {
  if (m_listener) m_listener->OnMessage(text, show);
}

bool CheckWorker::Start() {
  // Only one run at a time: the previous one has reported its end already,
  // so this wait is short.
  Wait();
  try {
    m_thread = std::thread([this] { ThreadProc(this); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void CheckWorker::Wait() {
  if (m_thread.joinable()) m_thread.join();
}

unsigned CheckWorker::ThreadProc(void* param) {
  auto* worker = static_cast<CheckWorker*>(param);
  worker->m_platform.SeedRandom();
  worker->Run();
  if (worker->m_listener) worker->m_listener->OnFinished();
  return 0;
}

void CheckWorker::Run() {
  const bool apartment = m_platform.InitApartment();
  m_stop.store(0);
  m_results.clear();
  OnMessage(base::Format(L"CustomerId: %s", m_strings.Load(kIdCustomerId)).c_str(), 0);
  {
    std::shared_ptr<CheckNode> root = engine::BuildRunTree(*this, *m_config, m_factory);
    WalkRunTree(*this, root);
  }  // the tree, and with it the ping and trace modules, goes here
  if (apartment) m_platform.UninitApartment();
}

void CheckWorker::AddResult(int grade, std::wstring title, std::wstring value, std::wstring recommendation) {
  m_results.push_back(std::make_shared<const CheckResult>(
      CheckResult{grade, std::move(title), std::move(value), std::move(recommendation)}));
}

void CheckWorker::SetRunModules(std::shared_ptr<Diagnostic::Module> sipCall,
                                std::shared_ptr<Diagnostic::Module> sipUdp,
                                std::shared_ptr<Diagnostic::Module> sipTcp,
                                std::shared_ptr<Diagnostic::Module> audio) {
  m_sipCall = std::move(sipCall);
  m_sipUdp = std::move(sipUdp);
  m_sipTcp = std::move(sipTcp);
  m_audio = std::move(audio);
}
