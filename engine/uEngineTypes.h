#pragma once
// Values shared by the engine, its callers and the worker threads.
#include "platform/PlatformFileIdentity.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Safety class of a clean-up option, copied onto every object it finds; also the icon index.
enum TSafetyClass : uint8_t { scSafe = 0, scPotentiallyUnsafe = 1, scUnsafe = 2 };

// What a clean-up option looks for; the scanner finds nothing for any other value.
enum TObjectKind : uint8_t { okFiles = 0, okDirectories = 1 };

// A clean-up option by its catalogue position, 0 to 22.
using TCleanupOption = uint8_t;

// Set bits of a 32-bit option mask; indexes outside 0..31 are never members.
class TCleanupOptionSet {
public:
    constexpr TCleanupOptionSet() = default;
    constexpr explicit TCleanupOptionSet(uint32_t bits) : bits_(bits) {}

    constexpr bool Contains(int index) const { return index >= 0 && index < 32 && ((bits_ >> index) & 1u) != 0; }
    constexpr void Include(int index)
    {
        if (index >= 0 && index < 32)
            bits_ |= (1u << index);
    }
    constexpr void Exclude(int index)
    {
        if (index >= 0 && index < 32)
            bits_ &= ~(1u << index);
    }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr uint32_t Bits() const { return bits_; }
    constexpr bool operator==(TCleanupOptionSet other) const { return bits_ == other.bits_; }
    constexpr bool operator!=(TCleanupOptionSet other) const { return bits_ != other.bits_; }

private:
    uint32_t bits_ = 0;
};

// Scanner validators: 0-2 implicit (chosen by the option), 3-6 explicit (configured by the user).
enum TValidatorType : uint8_t {
    svNone = 0,
    svEmptyDirectory = 1,
    svInvalidShortcut = 2,
    svFileDate = 3,
    svFileAttributes = 4,
    svFileContents = 5,
    svFileSize = 6,
};

// One-byte set of validator types; only types 0 to 7 can be members.
class TValidatorSet {
public:
    constexpr TValidatorSet() = default;
    constexpr explicit TValidatorSet(uint8_t bits) : bits_(bits) {}
    constexpr TValidatorSet(std::initializer_list<TValidatorType> types)
    {
        for (auto type : types)
            Include(type);
    }

    constexpr bool Contains(int type) const { return type >= 0 && type < 8 && ((bits_ >> type) & 1u) != 0; }
    constexpr void Include(int type)
    {
        if (type >= 0 && type < 8)
            bits_ = static_cast<uint8_t>(bits_ | (1u << type));
    }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr uint8_t Bits() const { return bits_; }
    constexpr TValidatorSet operator|(TValidatorSet other) const { return TValidatorSet(static_cast<uint8_t>(bits_ | other.bits_)); }
    constexpr bool operator==(TValidatorSet other) const { return bits_ == other.bits_; }
    constexpr bool operator!=(TValidatorSet other) const { return bits_ != other.bits_; }

private:
    uint8_t bits_ = 0;
};

// Mode parameter of the file-date validator.
enum TFileDateMode : int32_t {
    dmCreated = 0,
    dmModified = 1,
    dmAccessed = 2,
    dmLaterThan = 3,   // the "Older" button
    dmEarlierThan = 4, // the "Newer" button
};

// A validator parameter as given to the chain; kept as text (integers in decimal,
// Booleans as "-1"/"0", strings unchanged) and parsed back by the test.
class TValidatorParameter {
public:
    TValidatorParameter(int value) : text_(std::to_string(value)) {}
    TValidatorParameter(int64_t value) : text_(std::to_string(value)) {}
    TValidatorParameter(bool value) : text_(value ? "-1" : "0") {}
    TValidatorParameter(const char* value) : text_(value ? value : "") {}
    TValidatorParameter(std::string value) : text_(std::move(value)) {}

    const std::string& Text() const { return text_; }

private:
    std::string text_;
};
using TValidatorParameters = std::vector<TValidatorParameter>;

// The answer to the cleaner's per-object question (the message box's results).
enum TConfirmAnswer : int32_t { caNone = 0, caYes = 1, caYesToAll = 2, caNo = 3, caNoToAll = 4 };

// Why the cleaner left a checked or unchecked object where it was.
enum TSkipReason : uint8_t {
    srUnchecked = 0,
    srDeclined = 1,  // "No" at the per-object question
    srChanged = 2,   // no longer the object the scan saw (replaced, moved, gone, a link now), or outside its option's places
    srInUse = 3,     // held open by a program
    srStopped = 4,   // Stop came before its deletion
    srFailed = 5,    // the system refused
    srNoBin = 6,     // a recycling clean: no Recycle Bin (Trash) can take it, so it stays
};

// An opaque window handle, so the engine stays free of window headers (an HWND on Windows).
using TWindowHandle = intptr_t;

// Where the scan found an object, so the clean can walk down to exactly that object again: the
// folder the walk started from (a target or an option's source, links at or above it being the
// user's own choice; the object's path begins with it) and the identities the scan saw.
struct TObjectOrigin {
    std::shared_ptr<const std::string> root;  // shared by every object found under it
    platform::FileIdentity rootIdentity;
    platform::FileIdentity identity;  // the object itself, a link as itself
    bool link = false;

    // Objects no scan walked to are never deleted by their path alone.
    bool Known() const { return root != nullptr; }
};
