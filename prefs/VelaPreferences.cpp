#include "prefs/VelaPreferences.h"

#include "platform/PlatformSystem.h"
#include "support/VelaDetect.h"

#include <cctype>
#include <climits>

namespace {
const char* const kExtension = ".prefs";
}

std::string TCustomPreferenceValues::PreferencesFileNameFor(const std::string& executablePath)
{
    const size_t nameStart = executablePath.find_last_of("/\\");
    const size_t dot = executablePath.rfind('.');
    const bool hasExtension = dot != std::string::npos && (nameStart == std::string::npos || dot > nameStart);
    return (hasExtension ? executablePath.substr(0, dot) : executablePath) + kExtension;
}

std::string TCustomPreferenceValues::GetFileName() const
{
    return fileName_.empty() ? PreferencesFileNameFor(platform::ExecutablePath()) : fileName_;
}

void TCustomPreferenceValues::Load()
{
    const std::string path = GetFileName();
    if (!platform::FileExists(path)) {
        SetDefaults();
        return;
    }
    stream_ = std::make_unique<TPreferenceStream>(path, platform::FileAccess::ReadShared);
    // A file that exists but cannot be opened (locked, no permission) is as good as missing.
    if (stream_->IsOpen() && stream_->ReadChars(10) == TSignedFileStream::Signature(kExtension))
        ReadValues();
    else
        SetDefaults();
    stream_.reset();
}

bool TCustomPreferenceValues::Save()
{
    // Written beside the real file first, so a failed write (full disk, no permission)
    // never leaves a damaged file in its place.
    const std::string path = GetFileName();
    const std::string temporary = path + ".new";
    stream_ = std::make_unique<TPreferenceStream>(temporary, platform::FileAccess::CreateTruncate);
    if (!stream_->IsOpen()) {
        stream_.reset();
        return false;
    }
    stream_->WriteChars(TSignedFileStream::Signature(kExtension));
    WriteValues();
    const bool written = !stream_->WriteFailed();
    stream_.reset();
    if (written && platform::MoveFileReplacing(temporary, path))
        return true;
    platform::DeleteFileAt(temporary);
    return false;
}

int32_t TPreferenceValues::VersionStampOf(const std::string& versionText)
{
    long long value = 0;
    for (char c : versionText) {
        if (c < '0' || c > '9')
            continue;
        value = value * 10 + (c - '0');
        if (value > INT_MAX)
            return 0; // a version that cannot be a stamp is treated like none
    }
    return static_cast<int32_t>(value);
}

int32_t TPreferenceValues::VersionStamp() { return VersionStampOf(TDetect::GetProgramVersion()); }

bool TPreferenceValues::IsResetArgument(const std::string& firstArgument)
{
    std::string lower = firstArgument;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == "-resetprefs";
}

bool TPreferenceValues::WindowBoundsEmpty() const
{
    return WindowLeft == 0 && WindowTop == 0 && WindowWidth == 0 && WindowHeight == 0;
}

void TPreferenceValues::SetDefaults()
{
    FirstRun = true;
    WindowMaximized = false;
    WindowLeft = WindowTop = WindowWidth = WindowHeight = 0;
    Confirmations = false;
    OpenObjectConfirmations = true;
    AllowWindowTransparency = false;
    UseFileSystemIcons = true;
    QuotaReportsLargestCapacity = true;
    EnableUninstallApplications = true;
    EnableDriveInformation = true;
    MinimizeToSystemTray = false;
    StartMinimized = false;
    ExcludeFiles = "desktop.ini;index.dat";
    ExcludeDirectories.clear();
    CustomFiles = "*.tmp";
    CustomDirectories.clear();
    IgnoreSymbolicLinks = true;
    FileDateValidator = false;
    DateCreated = DateModified = DateAccessed = DateOlder = DateNewer = false;
    ValidatorDate = TTimeRoutines::Now();
    FileAttributesValidator = false;
    AttributeArchive = AttributeReadOnly = AttributeHidden = AttributeSystem = false;
    FileContentsValidator = false;
    Containing.clear();
    CaseSensitive = false;
    FileSizeValidator = false;
    MinimumSize = MaximumSize = 0;
    IgnoreOnImplicitValidator = false;
    SecureDeleteFiles = false;
    SecureDeletePasses = 1;
    RandomRewritePattern = false;
    ComputeSize = false;
    DiskSpaceGain = ObjectsCleaned = ScanCycles = CleanCycles = ProgramRuns = 0;
    RestoreCleanupList = false;
    CleanupSelection.clear();
    CleanupOptions = 0;
}

void TPreferenceValues::ScrambleStrings(TTranscodeDirection direction)
{
    for (std::string* value : {&ExcludeFiles, &ExcludeDirectories, &CustomFiles, &CustomDirectories, &Containing,
                               &CleanupSelection})
        *value = TStringCryptography::Transcode(*value, direction);
}

void TPreferenceValues::ReadValues()
{
    TPreferenceStream& s = *Stream();
    int32_t stamp = -1; // a file that ends before its stamp is from no known version
    s.ReadInteger(stamp);
    if (ResetRequested || stamp != VersionStamp()) {
        SetDefaults();
        return;
    }
    s.ReadBoolean(FirstRun);
    s.ReadBoolean(WindowMaximized);
    s.ReadInteger(WindowLeft);
    s.ReadInteger(WindowTop);
    s.ReadInteger(WindowWidth);
    s.ReadInteger(WindowHeight);
    s.ReadBoolean(Confirmations);
    s.ReadBoolean(OpenObjectConfirmations);
    s.ReadBoolean(AllowWindowTransparency);
    s.ReadBoolean(UseFileSystemIcons);
    s.ReadBoolean(QuotaReportsLargestCapacity);
    s.ReadBoolean(EnableUninstallApplications);
    s.ReadBoolean(EnableDriveInformation);
    s.ReadBoolean(MinimizeToSystemTray);
    s.ReadBoolean(StartMinimized);
    s.ReadString(ExcludeFiles);
    s.ReadString(ExcludeDirectories);
    s.ReadString(CustomFiles);
    s.ReadString(CustomDirectories);
    s.ReadBoolean(IgnoreSymbolicLinks);
    s.ReadBoolean(FileDateValidator);
    s.ReadBoolean(DateCreated);
    s.ReadBoolean(DateModified);
    s.ReadBoolean(DateAccessed);
    s.ReadBoolean(DateOlder);
    s.ReadBoolean(DateNewer);
    s.ReadDateTime(ValidatorDate);
    s.ReadBoolean(FileAttributesValidator);
    s.ReadBoolean(AttributeArchive);
    s.ReadBoolean(AttributeReadOnly);
    s.ReadBoolean(AttributeHidden);
    s.ReadBoolean(AttributeSystem);
    s.ReadBoolean(FileContentsValidator);
    s.ReadString(Containing);
    s.ReadBoolean(CaseSensitive);
    s.ReadBoolean(FileSizeValidator);
    s.ReadInteger(MinimumSize);
    s.ReadInteger(MaximumSize);
    s.ReadBoolean(IgnoreOnImplicitValidator);
    s.ReadBoolean(SecureDeleteFiles);
    s.ReadByte(SecureDeletePasses);
    s.ReadBoolean(RandomRewritePattern);
    s.ReadBoolean(ComputeSize);
    s.ReadCardinal(DiskSpaceGain);
    s.ReadCardinal(ObjectsCleaned);
    s.ReadCardinal(ScanCycles);
    s.ReadCardinal(CleanCycles);
    s.ReadCardinal(ProgramRuns);
    s.ReadBoolean(RestoreCleanupList);
    s.ReadString(CleanupSelection);
    s.ReadCardinal(CleanupOptions);
    ScrambleStrings(Decode);
}

void TPreferenceValues::WriteValues()
{
    // Scrambled copies: the values stay readable after a save (the tool and tests save mid-run).
    auto scrambled = [](const std::string& value) { return TStringCryptography::Transcode(value, Encode); };
    TPreferenceStream& s = *Stream();
    s.WriteInteger(VersionStamp());
    s.WriteBoolean(FirstRun);
    s.WriteBoolean(WindowMaximized);
    s.WriteInteger(WindowLeft);
    s.WriteInteger(WindowTop);
    s.WriteInteger(WindowWidth);
    s.WriteInteger(WindowHeight);
    s.WriteBoolean(Confirmations);
    s.WriteBoolean(OpenObjectConfirmations);
    s.WriteBoolean(AllowWindowTransparency);
    s.WriteBoolean(UseFileSystemIcons);
    s.WriteBoolean(QuotaReportsLargestCapacity);
    s.WriteBoolean(EnableUninstallApplications);
    s.WriteBoolean(EnableDriveInformation);
    s.WriteBoolean(MinimizeToSystemTray);
    s.WriteBoolean(StartMinimized);
    s.WriteString(scrambled(ExcludeFiles));
    s.WriteString(scrambled(ExcludeDirectories));
    s.WriteString(scrambled(CustomFiles));
    s.WriteString(scrambled(CustomDirectories));
    s.WriteBoolean(IgnoreSymbolicLinks);
    s.WriteBoolean(FileDateValidator);
    s.WriteBoolean(DateCreated);
    s.WriteBoolean(DateModified);
    s.WriteBoolean(DateAccessed);
    s.WriteBoolean(DateOlder);
    s.WriteBoolean(DateNewer);
    s.WriteDateTime(ValidatorDate);
    s.WriteBoolean(FileAttributesValidator);
    s.WriteBoolean(AttributeArchive);
    s.WriteBoolean(AttributeReadOnly);
    s.WriteBoolean(AttributeHidden);
    s.WriteBoolean(AttributeSystem);
    s.WriteBoolean(FileContentsValidator);
    s.WriteString(scrambled(Containing));
    s.WriteBoolean(CaseSensitive);
    s.WriteBoolean(FileSizeValidator);
    s.WriteInteger(MinimumSize);
    s.WriteInteger(MaximumSize);
    s.WriteBoolean(IgnoreOnImplicitValidator);
    s.WriteBoolean(SecureDeleteFiles);
    s.WriteByte(SecureDeletePasses);
    s.WriteBoolean(RandomRewritePattern);
    s.WriteBoolean(ComputeSize);
    s.WriteCardinal(DiskSpaceGain);
    s.WriteCardinal(ObjectsCleaned);
    s.WriteCardinal(ScanCycles);
    s.WriteCardinal(CleanCycles);
    s.WriteCardinal(ProgramRuns);
    s.WriteBoolean(RestoreCleanupList);
    s.WriteString(scrambled(CleanupSelection));
    s.WriteCardinal(CleanupOptions);
}
