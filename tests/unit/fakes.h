// Fakes of the ports for the engine and module tests.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/format.h"
#include "base/strings.h"
#include "engine/check_worker.h"
#include "modules/icmp_api.h"
#include "modules/module.h"

namespace fakes {

inline const base::TableStrings& Russian() {
  static const base::StringEntry table[] = {
#include "strings_ru.inc"
  };
  static const base::TableStrings strings(table);
  return strings;
}

constexpr uint32_t Ip(int a, int b, int c, int d) {
  // As the system stores it: network byte order in memory (little-endian host).
  return static_cast<uint32_t>(a) | (static_cast<uint32_t>(b) << 8) | (static_cast<uint32_t>(c) << 16) |
         (static_cast<uint32_t>(d) << 24);
}

// One scripted echo outcome.
struct Echo {
  bool answered;
  uint32_t rtt = 0;
  uint32_t from = 0;  // 0: the target itself
  uint32_t error = 11010;
};

// An ICMP world: names, reverse names, and per-TTL (0 = plain ping) scripts.
class FakeIcmp : public Diagnostic::IcmpApi {
 public:
  explicit FakeIcmp(base::ManualClock* clock = nullptr) : m_clock(clock) {}

  std::map<std::wstring, uint32_t> names;
  std::map<uint32_t, std::wstring> reverse;
  std::deque<Echo> pingScript;                       // consumed from the front for ttl 0
  std::map<int, std::vector<Echo>> hopScript;        // by ttl; each probe takes the next (last repeats)
  bool openFails = false, buffersFail = false;
  std::function<void()> onFirstSend;
  int startups = 0, cleanups = 0, releases = 0;
  std::vector<uint8_t> ttlsSent;

  void StartSockets() override { ++startups; }
  void CleanupSockets() override { ++cleanups; }
  std::optional<uint32_t> Resolve(const std::wstring& host, uint32_t* error) override {
    auto it = names.find(host);
    if (it != names.end()) return it->second;
    *error = 11001;
    return std::nullopt;
  }
  std::optional<std::wstring> ReverseName(uint32_t address) override {
    auto it = reverse.find(address);
    if (it == reverse.end()) return std::nullopt;
    return it->second;
  }
  std::wstring DottedText(uint32_t a) override {
    return base::Format(L"%u.%u.%u.%u", a & 0xFF, (a >> 8) & 0xFF, (a >> 16) & 0xFF, a >> 24);
  }
  bool OpenIcmp(uint32_t* error) override {
    if (openFails) *error = 5;
    return !openFails;
  }
  bool AllocateBuffers(uint32_t, uint32_t* error) override {
    if (buffersFail) *error = 8;
    return !buffersFail;
  }
  bool SendEcho(uint32_t address, uint8_t ttl, uint32_t timeoutMs, Diagnostic::EchoReply* reply,
                uint32_t* error) override {
    if (onFirstSend) {
      auto f = std::move(onFirstSend);
      onFirstSend = nullptr;
      f();
    }
    ttlsSent.push_back(ttl);
    Echo e{false};
    if (ttl == 0) {
      if (!pingScript.empty()) {
        e = pingScript.front();
        pingScript.pop_front();
      }
    } else {
      auto it = hopScript.find(ttl);
      if (it != hopScript.end() && !it->second.empty()) {
        size_t& i = m_hopIndex[ttl];
        e = it->second[std::min(i, it->second.size() - 1)];
        ++i;
      }
    }
    if (!e.answered) {
      if (m_clock) m_clock->Advance(timeoutMs);
      *error = e.error;
      return false;
    }
    if (m_clock) m_clock->Advance(e.rtt);
    reply->address = e.from ? e.from : address;
    reply->roundTripMs = e.rtt;
    reply->dataSize = 512;
    reply->ttl = 64;
    return true;
  }
  void Release() override { ++releases; }
  std::wstring SystemErrorText(uint32_t code) override {
    if (code == 11001) return L"No such host is known. \r\n";
    if (code == 11010) return L"Request timed out.\r\n";
    return L"";
  }

 private:
  base::ManualClock* m_clock;
  std::map<int, size_t> m_hopIndex;
};

// A check that only reports a fixed outcome (for the audio and SIP places).
class FakeModule : public Diagnostic::Module {
 public:
  FakeModule(Diagnostic::ModuleListener* listener, const Diagnostic::ModuleContext& context, std::wstring title,
             bool outcome, std::wstring line = L"")
      : Module(listener, context), m_title(std::move(title)), m_outcome(outcome), m_line(std::move(line)) {}
  bool Run() override {
    MarkStart();
    if (!m_line.empty()) Diagnostic::ModuleMessage(this, 1, L"%s", m_line);
    if (onRun) onRun();
    MarkEnd();
    m_ran = true;
    return m_outcome;
  }
  bool Succeeded() const override { return m_ran && m_outcome; }
  std::wstring Title() const override { return m_title; }
  std::function<void()> onRun;

 private:
  std::wstring m_title;
  bool m_outcome;
  std::wstring m_line;
  bool m_ran = false;
};

class RecordingListener : public CheckWorkerListener {
 public:
  struct Line {
    std::wstring text;
    bool null;
    int show;
  };
  std::vector<Line> lines;
  std::vector<int> progress;
  int finished = 0;
  void OnMessage(const wchar_t* text, int show) override { lines.push_back({text ? text : L"", text == nullptr, show}); }
  void OnProgress(int percent) override { progress.push_back(percent); }
  void OnFinished() override { ++finished; }
  std::vector<std::wstring> Shown() const {
    std::vector<std::wstring> out;
    for (const auto& l : lines)
      if (l.show) out.push_back(l.text);
    return out;
  }
};

class FakeWorkerPlatform : public WorkerPlatform {
 public:
  int seeds = 0, inits = 0, uninits = 0;
  bool apartmentOk = true;
  void SeedRandom() override { ++seeds; }
  bool InitApartment() override {
    ++inits;
    return apartmentOk;
  }
  void UninitApartment() override { ++uninits; }
};

}  // namespace fakes
