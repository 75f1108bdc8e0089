#pragma once

#include <string>

class QImage;

namespace losfix {

// The system clipboard; each call replaces its contents.
void CopyTextToClipboard(const std::string& text);
void CopyImageToClipboard(const QImage& image);

}  // namespace losfix
