#include "platform/fs/TempName.h"

#include <algorithm>

namespace platform::fs {
namespace {

constexpr std::string_view kSuffix = ".tmp";
constexpr std::string_view kOldPrefix = ".tmp-";          // earlier versions: ".tmp-XXXXXX"
constexpr size_t kRandomLength = kTemporaryRandomLength;  // the X's mkstemps() fills
constexpr size_t kOverhead = kTemporaryOverhead;
static_assert(kSuffix.size() == kTemporarySuffixLength);

bool IsRandomPart(std::string_view text) {
    return text.size() == kRandomLength && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
           });
}

bool IsOldTemporary(std::string_view name) {
    return name.size() == kOldPrefix.size() + kRandomLength && name.starts_with(kOldPrefix) &&
           IsRandomPart(name.substr(kOldPrefix.size()));
}

std::string ShortTargetName(const std::string& targetName) {
    return targetName.substr(0, kMaxNameLength - kOverhead);
}

}  // namespace

std::string TemporaryTemplate(const std::string& targetName) {
    return "." + ShortTargetName(targetName) + "." + std::string(kRandomLength, 'X') +
           std::string(kSuffix);
}

bool IsTemporaryName(std::string_view name) {
    if (IsOldTemporary(name)) return true;
    // At least one byte of target name.
    if (name.size() <= kOverhead || name.front() != '.' || !name.ends_with(kSuffix)) return false;
    const size_t random = name.size() - kSuffix.size() - kRandomLength;
    return name[random - 1] == '.' && IsRandomPart(name.substr(random, kRandomLength));
}

std::string_view TemporaryTargetName(std::string_view name) {
    if (!IsTemporaryName(name) || IsOldTemporary(name)) return {};
    return name.substr(1, name.size() - kOverhead);
}

bool IsTemporaryOf(std::string_view name, const std::string& targetName) {
    if (!IsTemporaryName(name)) return false;
    if (IsOldTemporary(name)) return true;
    return TemporaryTargetName(name) == ShortTargetName(targetName);
}

}  // namespace platform::fs
