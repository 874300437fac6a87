#pragma once

#include "RestorePoints.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>
#include <vector>

namespace zyrk {

// The non-modal "Restore points" window: the kept restore points, newest first, and the
// commands for the selected one. It decides nothing: each button asks its owner through a
// signal with the point, and the owner fills the list again.
class RestorePointsWindow : public QWidget {
    Q_OBJECT

  public:
    explicit RestorePointsWindow(QWidget* parent);

    void SetPoints(std::vector<RestorePoint> points, int language);
    void ApplyLanguage(int language);
    // The point selected, if any.
    const RestorePoint* Selected() const;
    void Select(int row);

    QTreeWidget* List() const { return list_; }
    QPushButton* CompareButton() const { return compare_; }
    QPushButton* OpenButton() const { return open_; }
    QPushButton* ProgramButton() const { return program_; }
    QPushButton* SaveAsButton() const { return saveAs_; }
    QPushButton* DeleteButton() const { return delete_; }

    static QString KindText(const RestorePoint& point, int language);
    static QString TimeText(const RestorePoint& point);

  signals:
    void CompareRequested(const zyrk::RestorePoint& point);
    void OpenRequested(const zyrk::RestorePoint& point);
    void ProgramRequested(const zyrk::RestorePoint& point);
    void SaveAsRequested(const zyrk::RestorePoint& point);
    void DeleteRequested(const zyrk::RestorePoint& point);

  private:
    void Fill();
    void UpdateButtons();
    void Ask(void (RestorePointsWindow::*signal)(const zyrk::RestorePoint&));

    QTreeWidget* list_ = nullptr;
    QPushButton* compare_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* program_ = nullptr;
    QPushButton* saveAs_ = nullptr;
    QPushButton* delete_ = nullptr;
    std::vector<RestorePoint> points_;
    int language_ = 0;
};

} // namespace zyrk
