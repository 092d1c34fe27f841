// Timer program: what showing members of an archive costs through
// axpixolet.spi, called as hosts call it (the archive listed again, then one
// member extracted to memory, for every member shown). Run under Wine:
// archive_timer.exe. Prints seconds; the goals are stepping through a solid
// 7z in order at most twice one full decompression of it, and member 500 of
// a ZIP at most twice member 1.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "ArchiveFixtures.h"
#include "spi/axpixolet/ArchiveListing.h"
#include "spi/common/SpiTypes.h"

namespace {

using Clock = std::chrono::steady_clock;
using GetArchiveInfoFunction = int(__stdcall*)(const char*, long, unsigned, HLOCAL*);
using GetFileFunction = int(__stdcall*)(const char*, long, char*, unsigned, spi::SpiProgressCallback, long);

constexpr int kMembers = 500;

std::string ExeFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string full = path;
  return full.substr(0, full.rfind('\\'));
}

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void Save(const std::string& path, const std::string& bytes) {
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

// Words from a small vocabulary: text-like data that LZMA packs well.
std::string Compressible(std::mt19937& random, size_t size) {
  static const char* const kWords[] = {"pixel ", "picture ", "archive ", "member ", "solid ", "viewer ", "\n"};
  std::string out;
  while (out.size() < size) out += kWords[random() % 7];
  out.resize(size);
  return out;
}

// Like a JPEG to a compressor: nothing to gain.
std::string Incompressible(std::mt19937& random, size_t size) {
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(random());
  return out;
}

struct Plugin {
  GetArchiveInfoFunction getArchiveInfo;
  GetFileFunction getFile;

  // Lists the archive and extracts the member at `index` of the list, as a host shows it.
  bool Show(const std::string& path, int index) const {
    HLOCAL list = nullptr;
    if (getArchiveInfo(path.c_str(), 0, 0, &list) != 0 || !list) return false;
    const auto* records = static_cast<const spi::ArchiveFileInfo*>(::LocalLock(list));
    const long position = static_cast<long>(records[index].position);
    ::LocalUnlock(list);
    ::LocalFree(list);
    HLOCAL member = nullptr;
    if (getFile(path.c_str(), position, reinterpret_cast<char*>(&member), 0x100, nullptr, 0) != 0) return false;
    ::LocalFree(member);
    return true;
  }
};

// One pass over every member's bytes with libarchive alone.
double FullDecompression(const std::string& path) {
  const auto start = Clock::now();
  auto source = spi::FileSource::Open(path, 0);
  spi::ArchiveReader reader(*source);
  std::vector<uint8_t> bytes;
  for (uint32_t number = 0; number < kMembers; ++number) spi::ExtractEntry(reader, number, {}, bytes);
  return Since(start);
}

}  // namespace

int main() {
  const HMODULE library = ::LoadLibraryA((ExeFolder() + "\\..\\susie\\axpixolet.spi").c_str());
  if (!library) {
    std::printf("axpixolet.spi not found beside the build\n");
    return 1;
  }
  const Plugin plugin{
      reinterpret_cast<GetArchiveInfoFunction>(reinterpret_cast<void*>(::GetProcAddress(library, "GetArchiveInfo"))),
      reinterpret_cast<GetFileFunction>(reinterpret_cast<void*>(::GetProcAddress(library, "GetFile")))};
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string solid = std::string(temp) + "archive_timer.7z";
  const std::string zip = std::string(temp) + "archive_timer.zip";

  std::mt19937 random(1);
  std::vector<spi_testing::Entry> entries;
  std::vector<spi_testing::ZipMember> zipMembers;
  for (int i = 0; i < kMembers; ++i) {
    entries.push_back({L"p" + std::to_wstring(i) + L".png", Compressible(random, 20 * 1024)});
    std::string name = "j";
    name += std::to_string(i);  // GCC 12 warns falsely on a chain of + here
    zipMembers.push_back({name + ".jpg", Incompressible(random, 100 * 1024), true});
  }
  Save(solid, spi_testing::WriteArchive("7zip", "", entries));
  Save(zip, spi_testing::HandMadeZip(zipMembers));

  const double once = FullDecompression(solid);
  auto start = Clock::now();
  bool ok = true;
  for (int i = 0; i < kMembers; ++i) ok = plugin.Show(solid, i) && ok;
  const double stepping = Since(start);
  std::printf("solid 7z, %d members of 20 KB: one full decompression %.3f s, every member in order %.3f s (%.2fx)%s\n",
              kMembers, once, stepping, stepping / once, ok ? "" : " FAILED");

  // From another archive to this one: the listing and the member, both read afresh.
  for (const int shown : {0, kMembers - 1}) {
    constexpr int kRounds = 20;
    double total = 0;
    for (int round = 0; round < kRounds; ++round) {
      ok = plugin.Show(solid, 0) && ok;
      const auto one = Clock::now();
      ok = plugin.Show(zip, shown) && ok;
      total += Since(one);
    }
    std::printf("ZIP, %d members of 100 KB: member %d first shown %.2f ms%s\n", kMembers, shown + 1,
                total / kRounds * 1000, ok ? "" : " FAILED");
  }
  // Each case after another member was shown, as when a user jumps.
  const std::pair<int, int> jumps[] = {{kMembers - 1, 0}, {0, kMembers - 1}, {kMembers - 1, kMembers - 1}};
  for (const auto& [before, shown] : jumps) {
    constexpr int kRounds = 20;
    double total = 0;
    for (int round = 0; round < kRounds; ++round) {
      ok = plugin.Show(zip, before) && ok;
      const auto one = Clock::now();
      ok = plugin.Show(zip, shown) && ok;
      total += Since(one);
    }
    std::printf("ZIP, %d members of 100 KB: member %d after member %d %.2f ms%s\n", kMembers, shown + 1, before + 1,
                total / kRounds * 1000, ok ? "" : " FAILED");
  }
  ::FreeLibrary(library);
  ::DeleteFileA(solid.c_str());
  ::DeleteFileA(zip.c_str());
  return ok ? 0 : 1;
}
