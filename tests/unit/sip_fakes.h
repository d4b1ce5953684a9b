// A scripted signalling socket, a fake media component and a counting random
// source for the SIP call tests.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "modules/sip_module.h"
#include "sip/media_plugin.h"
#include "sip/sip_call.h"

namespace fakes {

// 0, 1, 2, ...: random texts become "abcd...", the first CSeq 1.
class CountingRandom : public Diagnostic::RandomSource {
 public:
  int Next() override { return m_next++; }

 private:
  int m_next = 0;
};

// 0 first, then a linear congruential sequence: no short period.
class LcgRandom : public Diagnostic::RandomSource {
 public:
  int Next() override {
    const int v = static_cast<int>(m_state >> 16) & 0x7FFF;
    m_state = m_state * 1103515245u + 12345u;
    return m_first ? (m_first = false, 0) : v;
  }

 private:
  uint32_t m_state = 12345;
  bool m_first = true;
};

// Answers arrive at given times (ms after connect); a responder may queue
// more when a message is sent. Waiting advances the manual clock.
class ScriptedSocket : public Diagnostic::SignallingTransport {
 public:
  struct Arrival {
    uint64_t at;
    std::string bytes;
    uint8_t flags = 0;  // extra event flags with this read (kClosed, kFailed)
  };
  struct Shared {  // outlives the socket, which the call owns
    base::ManualClock* clock = nullptr;
    std::deque<Arrival> arrivals;
    std::vector<std::string> sent;
    std::vector<uint64_t> sentAt;
    std::function<void(Shared&, const std::string&)> responder;
    bool connectOk = true;
    bool closed = false;
    int connects = 0;
    uint64_t start = 0;
    uint64_t Now() const { return clock->NowMs() - start; }
    void Answer(uint64_t delay, std::string bytes, uint8_t flags = 0) {
      arrivals.push_back({Now() + delay, std::move(bytes), flags});
    }
  };

  explicit ScriptedSocket(Shared* shared) : m_s(shared) {}

  bool Connect() override {
    ++m_s->connects;
    m_s->start = m_s->clock->NowMs();
    return m_s->connectOk;
  }
  void Close() override { m_s->closed = true; }
  size_t Send(const char* data, size_t size) override {
    if (m_s->closed) return 0;
    m_s->sent.emplace_back(data, size);
    m_s->sentAt.push_back(m_s->Now());
    if (m_s->responder) m_s->responder(*m_s, m_s->sent.back());
    return size;
  }
  size_t Receive(char* buffer, size_t capacity) override {
    if (m_s->arrivals.empty()) return 0;
    Arrival& a = m_s->arrivals.front();
    const size_t n = std::min(capacity, a.bytes.size());
    std::copy(a.bytes.begin(), a.bytes.begin() + n, buffer);
    m_s->arrivals.pop_front();
    return n;
  }
  uint8_t WaitForEvents() override {
    if (m_s->closed) return Diagnostic::kFailed;
    if (!m_s->arrivals.empty()) {
      const uint64_t due = m_s->arrivals.front().at;
      if (due <= m_s->Now() + 100) {
        if (due > m_s->Now()) m_s->clock->Advance(due - m_s->Now());
        return Diagnostic::kReadable | m_s->arrivals.front().flags;
      }
    }
    m_s->clock->Advance(100);
    return Diagnostic::kEventNone;
  }
  std::wstring LocalAddress() const override { return L"198.18.1.2"; }
  uint16_t LocalPort() const override { return 50600; }

 private:
  Shared* m_s;
};

// What the component was given; kept by the factory, since the call owns
// (and destroys) the component.
struct PluginSeen {
  std::wstring remoteSdp;
  std::vector<std::pair<std::wstring, int32_t>> play;
  int created = 0;
};

class FakePlugin : public Diagnostic::MediaPlugin {
 public:
  struct Config {
    std::wstring aec, createLeg, startStats, localSdp = L"<sdp><media ip=\"198.18.1.2:40000\"/></sdp>";
    std::wstring remoteSdp, activate, input = L"Microphone", output = L"Speakers";
    std::wstring statistics = L"AUDIO_BYTES_SENT: 1200\nAUDIO_BYTES_RECEIVED: 1100\n";
    bool throwOnActivate = false;
    std::vector<std::wstring>* calls = nullptr;
  };
  FakePlugin(Config c, PluginSeen* seen) : m_c(std::move(c)), m_seen(seen) {}
  std::wstring Note(const std::wstring& call, std::wstring answer = L"") {
    if (m_c.calls) m_c.calls->push_back(call);
    return answer;
  }
  std::wstring CreateLeg(const std::wstring&, const std::wstring&, const std::wstring&) override {
    return Note(L"CreateLeg", m_c.createLeg);
  }
  std::wstring DestroyLeg(const std::wstring&) override { return Note(L"DestroyLeg"); }
  std::wstring Activate(const std::wstring&) override {
    if (m_c.throwOnActivate) throw Diagnostic::ComError(L"Activate", static_cast<int32_t>(0x8000FFFF));
    return Note(L"Activate", m_c.activate);
  }
  std::wstring Deactivate(const std::wstring&) override { return Note(L"Deactivate"); }
  std::wstring GetLocalSDP(const std::wstring&, const std::wstring&) override { return Note(L"GetLocalSDP", m_c.localSdp); }
  std::wstring SetRemoteSDP(const std::wstring&, const std::wstring& sdp, const std::wstring&) override {
    m_seen->remoteSdp = sdp;
    return Note(L"SetRemoteSDP", m_c.remoteSdp);
  }
  std::wstring SetOutputVolume(const std::wstring&, int) override { return Note(L"SetOutputVolume"); }
  std::wstring SetInputVolume(const std::wstring&, int) override { return Note(L"SetInputVolume"); }
  std::wstring PlayToRemote(const std::wstring&, const std::wstring& sound, int32_t length) override {
    m_seen->play.push_back({sound, length});
    return Note(L"PlayToRemote");
  }
  std::wstring GetAudioDevice(const std::wstring& kind) override {
    return Note(L"GetAudioDevice " + kind, kind == L"audioInp" ? m_c.input : m_c.output);
  }
  std::wstring Shutdown(int32_t) override { return Note(L"Shutdown"); }
  std::wstring SetAEC(int32_t) override { return Note(L"SetAEC", m_c.aec); }
  std::wstring StartLegStatistics(const std::wstring&) override { return Note(L"StartLegStatistics", m_c.startStats); }
  std::wstring StopLegStatistics(const std::wstring&) override { return Note(L"StopLegStatistics"); }
  std::wstring GetLegStatistics(const std::wstring&) override { return Note(L"GetLegStatistics", m_c.statistics); }
  std::wstring SetVolumeAmplification(double) override { return Note(L"SetVolumeAmplification"); }


 private:
  Config m_c;
  PluginSeen* m_seen;
};

class FakeMediaFactory : public Diagnostic::MediaPluginFactory {
 public:
  FakePlugin::Config config;
  bool createFails = false;
  PluginSeen seen;
  std::unique_ptr<Diagnostic::MediaPlugin> Create(int32_t* hresult) override {
    if (createFails) {
      *hresult = static_cast<int32_t>(0x80040154);  // class not registered
      return nullptr;
    }
    ++seen.created;
    return std::make_unique<FakePlugin>(config, &seen);
  }
  std::optional<std::wstring> MediaAddressOfLocalSdp(const std::wstring& xml) override {
    const size_t at = xml.find(L"ip=\"");
    if (at == std::wstring::npos) return std::nullopt;
    const size_t end = xml.find(L'"', at + 4);
    if (end == std::wstring::npos) return std::nullopt;
    return xml.substr(at + 4, end - at - 4);
  }
  std::string Sound() override { return std::string("RIFF\x04\x00\x00\x00WAVE", 12); }
};

}  // namespace fakes
