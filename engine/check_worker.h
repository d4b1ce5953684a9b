// Carries out one check run at a time on a thread of its own: builds the
// modules and the run tree, walks it, and reports lines, progress and the end
// to its listener (the main frame, or a console front end).
#pragma once
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "app/service_config.h"
#include "base/strings.h"
#include "engine/check_node.h"
#include "engine/check_result.h"
#include "engine/module_factory.h"
#include "modules/module.h"

class CheckWorkerListener {
 public:
  virtual ~CheckWorkerListener() = default;
  // `text` null stands for an empty line.
  virtual void OnMessage(const wchar_t* text, int show) = 0;
  // The worker never calls this one; it keeps the interface's slot order.
  virtual void OnTrace(const wchar_t* /*text*/) {}
  virtual void OnProgress(int percent) = 0;
  virtual void OnFinished() = 0;
};

// What the worker thread needs of the system.
class WorkerPlatform {
 public:
  virtual ~WorkerPlatform() = default;
  // Seeds the C library generator the SIP call draws its identifiers from.
  virtual void SeedRandom() = 0;
  // COM for the worker thread as a single-threaded apartment.
  virtual bool InitApartment() = 0;
  virtual void UninitApartment() = 0;
};

class CheckWorker : public Diagnostic::ModuleListener {
 public:
  CheckWorker(CheckWorkerListener* listener, const app::ServiceConfig* config, engine::ModuleFactory& factory,
              WorkerPlatform& platform, const base::Strings& strings);
  ~CheckWorker() override;
  CheckWorker(const CheckWorker&) = delete;
  CheckWorker& operator=(const CheckWorker&) = delete;

  // The frame may repoint the configuration between runs.
  void SetConfig(const app::ServiceConfig* config) { m_config = config; }
  const app::ServiceConfig* Config() const { return m_config; }

  // Passes a module line on to the listener.
  void OnMessage(const wchar_t* text, int show) override;

  // Starts a run on a new thread (after the previous run's thread has ended).
  bool Start();
  // The thread procedure: seed, run, OnFinished.
  static unsigned ThreadProc(void* worker);
  // One whole run on the calling thread (the body of the thread procedure).
  void Run();
  // Waits for the current run's thread, if any.
  void Wait();

  void Stop() { m_stop.store(1); }
  bool StopRequested() const { return m_stop.load() != 0; }

  // Valid after OnFinished, until the next run starts.
  const CheckResults& Results() const { return m_results; }
  void AddResult(int grade, std::wstring title, std::wstring value, std::wstring recommendation);

  CheckWorkerListener* Listener() const { return m_listener; }
  const base::Strings& Strings() const { return m_strings; }

  // The modules of the current or last run that outlive the tree.
  void SetRunModules(std::shared_ptr<Diagnostic::Module> sipCall, std::shared_ptr<Diagnostic::Module> sipUdp,
                     std::shared_ptr<Diagnostic::Module> sipTcp, std::shared_ptr<Diagnostic::Module> audio);

 private:
  CheckWorkerListener* m_listener;
  const app::ServiceConfig* m_config;
  engine::ModuleFactory& m_factory;
  WorkerPlatform& m_platform;
  const base::Strings& m_strings;
  std::thread m_thread;
  std::atomic<int> m_stop{0};
  CheckResults m_results;
  std::shared_ptr<Diagnostic::Module> m_sipCall, m_sipUdp, m_sipTcp, m_audio;
};

namespace engine {
// Builds the modules and the run tree for `config` (the order and shape are
// fixed: service ping at the root); sets the worker's run modules.
std::shared_ptr<CheckNode> BuildRunTree(CheckWorker& worker, const app::ServiceConfig& config, ModuleFactory& factory);
}  // namespace engine
