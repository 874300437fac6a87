#pragma once

#include <QDialog>

class QLabel;

namespace zyrk {

// Who makes the tool, when it was built and its version. Created hidden at start-up and
// shown modally from Help, About; the caption follows the language each time it is shown.
class TFormAbout : public QDialog {
    Q_OBJECT

  public:
    explicit TFormAbout(const uint8_t& languageIndex, QWidget* parent = nullptr);

    QLabel* LabelDate = nullptr;
    QLabel* LabelTime = nullptr;
    QLabel* LabelRsKey = nullptr;
    QLabel* LabelExit = nullptr;

    void FormActivate();
    void Button1Click() { accept(); }

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    const uint8_t& languageIndex_;
};

// The build stamp in its usual forms: "Oct 17 2022" and "11:48:25".
QString BuildDate();
QString BuildTime();

} // namespace zyrk
