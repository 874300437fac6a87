#pragma once

#include "RestorePoints.h"
#include "TransferEvent.h"

#include <QObject>
#include <QString>

class QAction;
class QToolButton;

namespace zyrk {

class RestorePointsWindow;
class TFormHlav;

// Restore points wired into the main window: before the first write to a unit the link reads
// it aside and it is kept here ("unit before programming"); every Read and every programming
// is kept too. The "Restore points" item of the Ignition menu and its toolbar button show the
// list, from which a point is compared, opened (one editing step), programmed back, saved
// elsewhere or deleted. The window's place is kept in "application.ini", [RESTORE_POINTS].
class HlavRestore : public QObject {
    Q_OBJECT

  public:
    HlavRestore(TFormHlav& form, const QString& applicationIni);

    void ApplyLanguage(int language);
    void Close(); // the main window closes: the window's place is kept

    void ShowWindow();
    // The commands of the window, on a point of the list.
    void Compare(const RestorePoint& point);
    bool Open(const RestorePoint& point);
    void Program(const RestorePoint& point);
    void SaveAs(const RestorePoint& point);
    void Delete(const RestorePoint& point);

    RestorePointStore& Store() { return store_; }
    RestorePointsWindow* Window() const { return window_; }
    QAction* MenuRestorePoints = nullptr;
    QToolButton* SpeedButtonRestore = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool Keep(RestoreKind kind, const ParamImage& image, bool afterChange, QString* why);
    void OnTransfer(const TransferEvent& event);
    void Refill();
    void StorePlace();

    TFormHlav& form_;
    QString applicationIni_;
    RestorePointStore store_;
    RestorePointsWindow* window_ = nullptr;
    // What the transfer under way will have done once its closing verify passes.
    enum class Pending { None, Read, Programmed } pending_ = Pending::None;
};

} // namespace zyrk
