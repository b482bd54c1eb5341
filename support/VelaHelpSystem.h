#pragma once
// The help document carried inside the executable: the executable ends with the compiled help
// file followed by its length as 8 bytes, little-endian. The first request copies those bytes to
// the user's temporary directory and opens the copy in the system's help viewer; the copy goes
// when the help object does.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {
class FileHandle;
}

// One per process; callers use ShowContents.
class IProgramHelp {
public:
    virtual ~IProgramHelp() = default;
    virtual bool GetMaximized() const = 0;
    virtual void SetMaximized(bool maximized) = 0;
    virtual std::string GetHelpFile() const = 0;
    virtual void SetHelpFile(const std::string& path) = 0;
    virtual void SetMissingMessage(const std::string& text) = 0;
    virtual void SetFailureHandler(std::function<void()> handler) = 0;
    virtual void ShowContents() = 0;
    virtual void ShowTopic(const std::string& topic) = 0;
    virtual std::string GetTopicPrefix() const = 0;
    virtual void SetTopicPrefix(const std::string& prefix) = 0;
};

// Where the help's bytes come from, where the copy goes and how the viewer starts.
struct THelpEnvironment {
    using TStartViewer = std::function<void(const std::string& program, const std::string& parameters, bool maximized)>;
    std::string executablePath;
    std::string tempDirectory;  // with its trailing separator; empty when there is none
    TStartViewer startViewer;

    // The running executable, the user's temporary directory, the shell's "open" verb.
    static THelpEnvironment System();
};

// Where the help lies inside an executable, as its trailer tells.
struct THelpPayload {
    uint64_t length = 0;  // what the trailer claims
    int64_t offset = 0;   // the help's first byte
    bool fits = false;    // the claimed bytes lie between the file's start and the trailer
};

class THelpTrailer {
public:
    static constexpr int64_t kSize = 8;
    // False when the file cannot be read; a file too short for a trailer holds no help that fits.
    static bool Read(platform::FileHandle& file, THelpPayload& payload);
};

// Opens a help file in a viewer program; a request that cannot be served calls the failure handler.
class THelpSystem : public IProgramHelp {
public:
    explicit THelpSystem(THelpEnvironment environment);

    bool GetMaximized() const override { return maximized_; }
    void SetMaximized(bool maximized) override { maximized_ = maximized; }
    std::string GetHelpFile() const override { return helpFile_; }
    void SetHelpFile(const std::string& path) override { helpFile_ = path; }
    void SetMissingMessage(const std::string& text) override { missingMessage_ = text; }
    void SetFailureHandler(std::function<void()> handler) override { failureHandler_ = std::move(handler); }
    const std::string& ViewerProgram() const { return viewerProgram_; }
    bool Damaged() const { return damaged_; }

protected:
    // Starts the viewer with parameters when the help file is there and not damaged; fails otherwise.
    void Show(const std::string& parameters);
    void Fail();

    THelpEnvironment environment_;
    std::string viewerProgram_;
    bool maximized_ = false;
    std::string helpFile_;
    std::string missingMessage_;
    std::function<void()> failureHandler_;
    bool damaged_ = false;
};

// Compiled HTML help: "HH.exe" given "mk:@MSITStore:" and the file (and "::/" and a page for a topic).
class THTMLHelpSystem : public THelpSystem {
public:
    explicit THTMLHelpSystem(THelpEnvironment environment);

    void ShowContents() override;
    void ShowTopic(const std::string& topic) override;
    std::string GetTopicPrefix() const override { return topicPrefix_; }
    void SetTopicPrefix(const std::string& prefix) override { topicPrefix_ = prefix; }

protected:
    std::string topicPrefix_;
};

// The compiled help carried by the executable, copied out once per run on the first request.
class TEmbeddedHTMLHelpSystem : public THTMLHelpSystem {
public:
    explicit TEmbeddedHTMLHelpSystem(THelpEnvironment environment = THelpEnvironment::System());
    ~TEmbeddedHTMLHelpSystem() override;
    TEmbeddedHTMLHelpSystem(const TEmbeddedHTMLHelpSystem&) = delete;
    TEmbeddedHTMLHelpSystem& operator=(const TEmbeddedHTMLHelpSystem&) = delete;

    void ShowContents() override;
    void ShowTopic(const std::string& topic) override;
    bool Extracted() const { return extracted_; }

private:
    void Extract();

    bool extracted_ = false;
    std::string copyPath_;  // the copy this object made (or found in use), deleted with it
};

class THelpSystemAccess {
public:
    static std::shared_ptr<IProgramHelp> CreateHelpSystem(bool maximized, const std::string& topicPrefix);
};
