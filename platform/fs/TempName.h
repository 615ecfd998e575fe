// Names of the temporary files that a file's new version is written to before
// it is renamed over the file: ".<target name>.<six letters or digits>.tmp" in
// the target's folder. Folder listings hide them, and a new write of a target
// removes those that earlier writers of the same target left behind.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::fs {

// The longest name of a folder entry the file systems take, in bytes.
constexpr size_t kMaxNameLength = 255;
// Bytes after the random part of a temporary's name (".tmp").
constexpr int kTemporarySuffixLength = 4;
// Bytes of the random part (the X's of the template).
constexpr size_t kTemporaryRandomLength = 6;
// Bytes a temporary's name adds to its target's name: the dot before it, the
// dot after it, the random part and the suffix.
constexpr size_t kTemporaryOverhead =
    2 + kTemporaryRandomLength + static_cast<size_t>(kTemporarySuffixLength);

// The mkstemps() template of a temporary for the target named `targetName`
// (a bare name): ".<target name>.XXXXXX.tmp", the target name cut short so
// that the whole fits kMaxNameLength.
std::string TemporaryTemplate(const std::string& targetName);

// True when the bare name `name` is one of our temporaries, including the
// ".tmp-XXXXXX" names that earlier versions of the player used.
bool IsTemporaryName(std::string_view name);

// The target name (as cut short by TemporaryTemplate) that the temporary
// `name` was made for; empty when `name` is not a temporary or is an earlier
// version's, which names no target.
std::string_view TemporaryTargetName(std::string_view name);

// True when `name` is a temporary that a write of `targetName` may have left:
// one made from that target's name, or an earlier version's, which names no
// target.
bool IsTemporaryOf(std::string_view name, const std::string& targetName);

}  // namespace platform::fs
