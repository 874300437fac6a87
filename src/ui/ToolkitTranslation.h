#pragma once

#include <QTranslator>
#include <memory>

namespace zyrk {

// The toolkit's own texts (the Yes / No / Cancel of a question, the file dialogs) in the
// language of the tool, from the translations the toolkit ships. English needs none.
class ToolkitTranslation {
  public:
    ToolkitTranslation() = default;
    ~ToolkitTranslation();
    ToolkitTranslation(const ToolkitTranslation&) = delete;
    ToolkitTranslation& operator=(const ToolkitTranslation&) = delete;

    // Switches to the language (0 Czech, 1 English, 2 German); false when its translation
    // could not be found, in which case the toolkit speaks English.
    bool Use(int language);

  private:
    std::unique_ptr<QTranslator> translator_;
    int language_ = -1;
};

} // namespace zyrk
