#pragma once
// The text of a file-list entry that stands for one member of an archive:
// "Arc" + member number + "[" + member name + "]" + archive path.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace archive_entry {

// "Arc2[z.gif]D:\\pics\\a.lzh" for member 2, named z.gif, of D:\pics\a.lzh.
std::string Format(int32_t member, std::string_view name, std::string_view archivePath);

// Whether an entry stands for a member: its first three characters are "Arc",
// compared with letter case.
bool IsMemberEntry(std::string_view entry);

// The member number: the text from the fourth character up to the first "[",
// a decimal integer without sign; nothing when it is no such number or there
// is no "[".
std::optional<int32_t> MemberNumber(std::string_view entry);

// The texts that may be the archive path, most likely first: what follows
// each "]" after the first "[", from the first "]" on. A member name may itself
// hold "]", so the caller takes the first candidate that names an existing
// file, and the first candidate when none does.
std::vector<std::string> ArchivePathCandidates(std::string_view entry);

}  // namespace archive_entry
