#pragma once

#include "Differences.h"
#include "ParamImage.h"
#include "TransferEvent.h"

#include <QObject>
#include <vector>

class QAction;
class QToolButton;
class QWidget;

namespace zyrk {

class TFormHlav;
class DifferencesWindow;
class OutlineLayer;

// "Compare with unit" and "Compare with file…" of the Ignition menu, the Differences window
// and the outlines of the differing fields on the pages. Reading the unit goes into the
// link's side image; the edited image, the undo ring and the editor are never written here.
// Also points the status bar at the block a failed transfer stopped at.
class CompareTool : public QObject {
    Q_OBJECT

  public:
    explicit CompareTool(TFormHlav& form);

    void CompareWithUnit();
    void CompareWithFile();
    // The edited set against another set (a restore point); name names the other side.
    void CompareWithImage(const ParamImage& other, const QString& name);
    void ApplyLanguage(int language);
    // The print shows the values only: no outlines on paper.
    void SetPrinting(bool printing);
    // After every change and page change (from the page furniture and the undo ring): the
    // outlines follow the page on show and vanish once the image has changed.
    void Refresh();

    QAction* MenuCompareUnit = nullptr;
    QAction* MenuCompareFile = nullptr;
    QToolButton* SpeedButtonCompare = nullptr; // Compare with unit, on the second toolbar
    DifferencesWindow* Window() const { return window_; }
    OutlineLayer* ServoOutlines() const { return servoLayer_; }
    OutlineLayer* MiscOutlines() const { return miscLayer_; }
    // The fields outlined now (empty once the image has changed), for other views of the
    // maps to outline the same cells; OutlinesChanged() tells them when to look again.
    std::vector<Difference> Outlined() const {
        return outlining_ ? differences_ : std::vector<Difference>{};
    }

  signals:
    void OutlinesChanged();

  private:
    void OnTransfer(const TransferEvent& event);
    void Present(std::vector<Difference> differences, const QString& fileName);
    void ClearOutlines();
    QWidget* FieldWidget(const Difference& d) const;

    TFormHlav& form_;
    DifferencesWindow* window_ = nullptr;
    OutlineLayer* servoLayer_ = nullptr;
    OutlineLayer* miscLayer_ = nullptr;
    std::vector<Difference> differences_;
    ParamImage compared_; // the image the outlines belong to
    bool outlining_ = false;
};

} // namespace zyrk
