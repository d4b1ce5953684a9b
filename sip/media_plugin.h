// The media component as the test call and the audio check use it: sixteen
// operations, each answering with a text. A failing result of the component
// itself is raised as ComError.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace Diagnostic {

class ComError : public std::runtime_error {
 public:
  ComError(std::wstring operation, int32_t hresult)
      : std::runtime_error("media component call failed"), m_operation(std::move(operation)), m_hresult(hresult) {}
  const std::wstring& Operation() const { return m_operation; }
  int32_t Result() const { return m_hresult; }

 private:
  std::wstring m_operation;
  int32_t m_hresult;
};

class MediaPlugin {
 public:
  virtual ~MediaPlugin() = default;
  virtual std::wstring CreateLeg(const std::wstring& leg, const std::wstring& a, const std::wstring& b) = 0;
  virtual std::wstring DestroyLeg(const std::wstring& leg) = 0;
  virtual std::wstring Activate(const std::wstring& leg) = 0;
  virtual std::wstring Deactivate(const std::wstring& leg) = 0;
  virtual std::wstring GetLocalSDP(const std::wstring& leg, const std::wstring& format) = 0;
  virtual std::wstring SetRemoteSDP(const std::wstring& leg, const std::wstring& sdp, const std::wstring& format) = 0;
  virtual std::wstring SetOutputVolume(const std::wstring& leg, int volume) = 0;
  virtual std::wstring SetInputVolume(const std::wstring& leg, int volume) = 0;
  virtual std::wstring PlayToRemote(const std::wstring& leg, const std::wstring& sound, int32_t duration) = 0;
  virtual std::wstring GetAudioDevice(const std::wstring& kind) = 0;
  virtual std::wstring Shutdown(int32_t how) = 0;
  virtual std::wstring SetAEC(int32_t on) = 0;
  virtual std::wstring StartLegStatistics(const std::wstring& leg) = 0;
  virtual std::wstring StopLegStatistics(const std::wstring& leg) = 0;
  virtual std::wstring GetLegStatistics(const std::wstring& leg) = 0;
  virtual std::wstring SetVolumeAmplification(double factor) = 0;
};

// Creates the component; on failure returns null and sets the HRESULT.
class MediaPluginFactory {
 public:
  virtual ~MediaPluginFactory() = default;
  virtual std::unique_ptr<MediaPlugin> Create(int32_t* hresult) = 0;
  // The "ip" attribute of the first "media" element of the local SDP XML;
  // nothing when the XML cannot be loaded or read.
  virtual std::optional<std::wstring> MediaAddressOfLocalSdp(const std::wstring& xml) = 0;
  // The test call's sound: the complete RIFF WAVE file (empty: none).
  virtual std::string Sound() = 0;
};

// The remote description handed to the component, from the answer's SDP.
std::wstring RemoteSdpXml(const std::wstring& address, const std::wstring& port);

// Statistics text: lines split at the first ": " into name and value (the
// value runs to the LF; a CR before it stays); a last piece without ": " is a
// name with an empty value; later lines replace earlier ones of that name.
std::map<std::wstring, std::wstring> ParseStatistics(const std::wstring& text);

}  // namespace Diagnostic
