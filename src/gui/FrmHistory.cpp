#include "gui/FrmHistory.h"
#include "shell/DocumentHistory.h"
#include "shell/MainTexts.h"
#include "model/Workspace.h"

#include <QEvent>
#include <QStyle>
#include <QUndoView>
#include <QVBoxLayout>

namespace kt {

FrmHistory::FrmHistory(Workspace& ws, DocumentHistory& history, QWidget* parent)
    : QWidget(parent, Qt::Tool), ws_(ws), history_(history)
{
    setObjectName("FrmHistory");
    view_ = new QUndoView(&history_.Stack(), this);
    view_->setObjectName("HistoryView");
    view_->setCleanIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    // A change still being made becomes its step before the click moves away.
    view_->viewport()->installEventFilter(this);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(4, 4, 4, 4);
    lay->addWidget(view_);
    resize(320, 420);
    ApplyLanguage();
    connect(&ws_.Events(), &DocumentEvents::languageChanged, this, &FrmHistory::ApplyLanguage);
}

void FrmHistory::ApplyLanguage()
{
    setWindowTitle(ws_.T(mtxt::HistoryTitle));
    view_->setEmptyLabel(ws_.T(mtxt::HistoryStart));
    // The steps were named again in the new language; the list reads them afresh.
    view_->setStack(nullptr);
    view_->setStack(&history_.Stack());
}

bool FrmHistory::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view_->viewport() && event->type() == QEvent::MouseButtonPress) {
        emit ws_.Events().aboutToEncode();
        history_.Sync();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kt
