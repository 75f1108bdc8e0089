#pragma once

#include <functional>

#include "platform/Shell.h"

namespace losfix {

// Runs work on a thread of its own while the window goes on answering (its events are processed
// until the work is done), then returns; an error of the work is raised here. The work must not
// touch widgets; what it needs it gets as a copy.
void RunInBackground(const std::function<void()>& work);

// The desktop's shell for work in the background: every request runs on the window's thread,
// where the desktop services live, and the work waits for the answer.
class WindowThreadShell : public Shell {
public:
    explicit WindowThreadShell(Shell& shell) : shell_(shell) {}

    bool openFile(const std::string& path) override;
    bool openUrl(const std::string& url) override;
    bool startDetached(const std::string& program,
                       const std::vector<std::string>& arguments) override;
    bool spreadsheetInstalled() override;
    std::string spreadsheetProgram() override;

private:
    template <typename Answer>
    Answer onWindowThread(const std::function<Answer()>& request);

    Shell& shell_;
};

}  // namespace losfix
