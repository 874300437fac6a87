#pragma once

#include "Differences.h"

#include <QLabel>
#include <QPointer>
#include <QTreeWidget>
#include <QWidget>
#include <vector>

namespace zyrk {

// The non-modal "Differences" window: the fields that differ between the tool's image and
// the unit or a file, grouped by page, with both values in the units the window shows.
class DifferencesWindow : public QWidget {
    Q_OBJECT

  public:
    explicit DifferencesWindow(QWidget* parent);

    // fileName empty: the other side is the unit.
    void SetDifferences(std::vector<Difference> differences, const QString& fileName, int language);
    void ApplyLanguage(int language);

    QTreeWidget* Tree() const { return tree_; }
    QLabel* Summary() const { return summary_; }

  private:
    void Fill();

    QLabel* summary_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    std::vector<Difference> differences_;
    QString fileName_;
    int language_ = 0;
};

// Outlines of controls, painted over a page by a transparent layer that takes no input, so
// that the controls keep their own colours (the live cell's green among them).
class OutlineLayer : public QWidget {
    Q_OBJECT

  public:
    explicit OutlineLayer(QWidget* page);
    void SetTargets(const QList<QWidget*>& targets);
    QList<QWidget*> Targets() const;
    // Hidden while set (printing), the targets kept.
    void SetSuppressed(bool suppressed);
    static const QColor kColour;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QList<QPointer<QWidget>> targets_;
    bool suppressed_ = false;
};

} // namespace zyrk
