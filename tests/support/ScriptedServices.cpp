#include "support/ScriptedServices.h"

namespace losfix::testing {

bool ScriptedShell::openFile(const std::string& path) {
    openedFiles.push_back(path);
    return answer && opensFiles;
}

bool ScriptedShell::openUrl(const std::string& url) {
    openedUrls.push_back(url);
    return answer;
}

bool ScriptedShell::startDetached(const std::string& program,
                                  const std::vector<std::string>& arguments) {
    started.push_back({program, arguments});
    return answer;
}

DownloadResult ScriptedNetwork::download(const DownloadRequest& request) {
    requests.push_back(request);
    auto found = answers.find(request.url);
    if (found == answers.end() || found->second.empty()) {
        DownloadResult refused;
        refused.errorText = "Verbindung abgelehnt";
        return refused;
    }
    DownloadResult result = found->second.front();
    if (found->second.size() > 1) {
        found->second.pop_front();
    }
    return result;
}

void ScriptedNetwork::serve(const std::string& url, const std::string& body) {
    DownloadResult result;
    result.ok = true;
    result.httpStatus = 200;
    result.bytes = body;
    answers[url].push_back(result);
}

void ScriptedNetwork::fail(const std::string& url, int httpStatus) {
    DownloadResult result;
    result.httpStatus = httpStatus;
    result.errorText =
        httpStatus != 0 ? "HTTP " + std::to_string(httpStatus) : "Zeitüberschreitung";
    answers[url].push_back(result);
}

}  // namespace losfix::testing
