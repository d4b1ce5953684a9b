// The program's own resources as the system sees them.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

std::string Resource(const wchar_t* type, UINT id) {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(self, MAKEINTRESOURCEW(id), type);
  if (!info) return std::string();
  const void* data = LockResource(LoadResource(self, info));
  return std::string(static_cast<const char*>(data), SizeofResource(self, info));
}

TEST(Resources, TheCallSoundIsTenSecondsOfMonoPcmAt8kHz) {
  const std::string wave = Resource(L"WAVE", 102);
  ASSERT_GT(wave.size(), 44u);
  EXPECT_EQ(wave.substr(0, 4), "RIFF");
  EXPECT_EQ(wave.substr(8, 8), "WAVEfmt ");
  uint16_t format, channels, bits;
  uint32_t rate, dataSize;
  std::memcpy(&format, &wave[20], 2);
  std::memcpy(&channels, &wave[22], 2);
  std::memcpy(&rate, &wave[24], 4);
  std::memcpy(&bits, &wave[34], 2);
  std::memcpy(&dataSize, &wave[40], 4);
  EXPECT_EQ(format, 1);  // PCM
  EXPECT_EQ(channels, 1);
  EXPECT_EQ(rate, 8000u);
  EXPECT_EQ(bits, 16);
  EXPECT_EQ(dataSize, 160000u);  // ten seconds
  EXPECT_EQ(wave.size(), 44u + dataSize);
  EXPECT_EQ(Resource(L"WAV", 102), "");  // looked up under "WAV" first: not there
}

TEST(Resources, IconManifestAndVersion) {
  EXPECT_NE(FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(10001), RT_GROUP_ICON), nullptr);
  const std::string manifest = Resource(RT_MANIFEST, 1);
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("asInvoker"), std::string::npos);
  EXPECT_NE(manifest.find("8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"), std::string::npos);  // Windows 10
  HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(10001), IMAGE_ICON, 32, 32, 0));
  EXPECT_NE(icon, nullptr);
  if (icon) DestroyIcon(icon);
}

}  // namespace
