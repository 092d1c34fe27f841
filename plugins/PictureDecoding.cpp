// Asking a plug-in whether it supports a file, and decoding a picture with it.
#include <string>

#include "core/SjisText.h"
#include "plugins/PluginExports.h"
#include "plugins/SpiFunc.h"
#include "plugins/WholeFile.h"

namespace {

// Plug-ins may read this much of the file in memory, whatever its size.
constexpr size_t kSupportBufferSize = 2048;
constexpr uint32_t kFromFile = 0;
constexpr uint32_t kFromMemory = 1;

int32_t AskIsSupported(FARPROC isSupported, const std::string& path) {
  GuardedResult byHandle;
  {
    const ui::File file = OpenForReading(path);
    byHandle = CallGuardedWith(isSupported, path.c_str(), file.Get());
  }
  // A plug-in that crashes on a file handle gets a second chance with the bytes.
  if (!byHandle.faulted) return byHandle.value;
  const FileBytes bytes = ReadWholeFile(path, kSupportBufferSize);
  return ResultOrThrow("IsSupported", CallGuardedWith(isSupported, path.c_str(), bytes.buffer.data()));
}

void LogSupport(int row, const std::string& path, int32_t answer) {
  LogLine(kLogSeparator);
  LogLine("SPIファイル名 : " + PluginTable[row].fileName);
  const std::string name = sjis::FileNamePart(path);
  LogLine("サポート有無  : " + std::string(answer == 1 ? "あり（" : "なし（") + name + "）");
}

// What one GetPicture call gave back. The blocks are owned whatever the result.
struct Decoded {
  int32_t result = -1;
  HLOCAL info = nullptr;
  HLOCAL bits = nullptr;
  PluginBlocks blocks;
};

Decoded GetPictureFrom(FARPROC getPicture, const char* source, int32_t length, uint32_t flag) {
  Decoded decoded;
  const GuardedResult outcome = CallGuardedWith(getPicture, source, length, flag, &decoded.info, &decoded.bits,
                                                &PluginProgressCallback, 0);
  decoded.blocks = PluginBlocks(decoded.info, decoded.bits);
  decoded.result = ResultOrThrow("GetPicture", outcome);
  return decoded;
}

Decoded GetPictureFromMemory(FARPROC getPicture, const std::string& path) {
  const FileBytes bytes = ReadWholeFile(path);
  return GetPictureFrom(getPicture, bytes.buffer.data(), bytes.length, kFromMemory);
}

void TakeDib(ui::Bitmap& bitmap, const Decoded& dib) {
  LogLine(kLogSeparator);
  LogLine("BitmapDataハンドル : " + std::to_string(reinterpret_cast<uintptr_t>(dib.bits)));
  LogLine("BITMAPINFO構造体   : " + std::to_string(reinterpret_cast<uintptr_t>(dib.info)));
  DibToBitmap(bitmap, dib.info, dib.bits);
}

}  // namespace

int32_t PluginIsSupported(int row, const std::string& path, bool& isArchive) {
  const PluginCallScope scope;
  int32_t answer = 0;
  if (const FARPROC isSupported = FindExport(row, "IsSupported")) {
    try {
      answer = AskIsSupported(isSupported, path);
      LogSupport(row, path, answer);
    } catch (const std::exception&) {
      answer = 0;  // crashed twice, or the file could not be read
    }
  }
  isArchive = row >= 0 && row < static_cast<int>(std::size(PluginTable)) && PluginTable[row].isArchive;
  return answer;
}

int32_t PluginGetPicture(int row, const std::string& path, ui::Bitmap& bitmap) {
  const PluginCallScope scope;
  const FARPROC getPicture = FindExport(row, "GetPicture");
  if (!getPicture) return -1;
  Decoded decoded = GetPictureFrom(getPicture, path.c_str(), 0, kFromFile);
  if (decoded.result != 0) {
    // The file mode's blocks go before the plug-in is asked again.
    decoded = Decoded();
    decoded = GetPictureFromMemory(getPicture, path);
  }
  if (decoded.result == 0) TakeDib(bitmap, decoded);
  LogLine("GetPicture結果     : " + std::string(decoded.result == 0 ? "成功" : "失敗"));
  LogLine("ファイル名         : " + sjis::FileNamePart(path));
  return decoded.result;
}
