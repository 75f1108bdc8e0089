#pragma once

#include <string>

class QImage;

namespace losfix {

// The system clipboard; each call replaces its whole content.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    virtual void setText(const std::string& text) = 0;
    // The clipboard's plain text, "" when it holds none.
    virtual std::string text() const = 0;
    virtual void setImage(const QImage& image) = 0;
};

// QClipboard of the running application.
class QtClipboard : public Clipboard {
public:
    void setText(const std::string& text) override;
    std::string text() const override;
    void setImage(const QImage& image) override;
};

}  // namespace losfix
