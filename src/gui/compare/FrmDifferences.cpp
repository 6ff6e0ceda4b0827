#include "gui/compare/FrmDifferences.h"

#include "gui/EditorRegistry.h"
#include "gui/MainHost.h"
#include "gui/MenuPolish.h"
#include "model/Workspace.h"
#include "rules/dtmf/DtmfRules.h"

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QPointer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kt {

namespace {
namespace t {
constexpr Bi Title{"Differences", "差异"};
constexpr Bi Heading{"A: %1\nB: %2\n%3 difference(s). Double-click a line to open its place.",
                     "A：%1\nB：%2\n共 %3 处差异。双击一行可打开其所在位置。"};
constexpr Bi Equal{"A: %1\nB: %2\nNo differences.", "A：%1\nB：%2\n没有差异。"};
constexpr Bi Place{"Place", "位置"};
constexpr Bi Field{"Field", "字段"};
constexpr Bi Copy{"&Copy", "复制(&C)"};
constexpr Bi Close{"Cl&ose", "关闭(&O)"};
}  // namespace t

constexpr int kDifferenceRole = Qt::UserRole + 1;
}  // namespace

FrmDifferences::FrmDifferences(MainHost& host, cmp::Result result, QString nameA, QString nameB, QWidget* parent)
    : QWidget(parent, Qt::Window), host_(host), result_(std::move(result)), nameA_(std::move(nameA)),
      nameB_(std::move(nameB))
{
    setObjectName("FrmDifferences");
    setAttribute(Qt::WA_DeleteOnClose);
    heading_ = new QLabel(this);
    heading_->setWordWrap(true);
    list_ = new QTreeWidget(this);
    list_->setColumnCount(4);
    list_->setUniformRowHeights(true);
    list_->setAlternatingRowColors(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    copy_ = new QPushButton(this);
    close_ = new QPushButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copy_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(760, 520);

    // A double-click or Enter.
    connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { OnActivated(item); });
    connect(copy_, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(Text()); });
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    connect(&host_.ws().Events(), &DocumentEvents::languageChanged, this, &FrmDifferences::ApplyLanguage);
    ApplyLanguage();
}

QString FrmDifferences::Text() const
{
    return cmp::TableText(result_, host_.ws().CurrentLanguage, nameA_, nameB_);
}

void FrmDifferences::ApplyLanguage()
{
    const Workspace& ws = host_.ws();
    setWindowTitle(ws.T(t::Title) + QStringLiteral(" - KT-6383 Pro"));
    heading_->setText(result_.equal() ? ws.T(t::Equal).arg(nameA_, nameB_)
                                      : ws.T(t::Heading).arg(nameA_, nameB_).arg(result_.items.size()));
    list_->setHeaderLabels({ws.T(t::Place), ws.T(t::Field), QStringLiteral("A"), QStringLiteral("B")});
    copy_->setText(ws.T(t::Copy));
    close_->setText(ws.T(t::Close));
    Fill();
}

void FrmDifferences::Fill()
{
    const int lang = host_.ws().CurrentLanguage;
    list_->setUpdatesEnabled(false);
    list_->clear();
    // Places in the order their first difference came, each with its count.
    QList<QTreeWidgetItem*> tops;
    QHash<QString, QTreeWidgetItem*> byPlace;
    for (int i = 0; i < int(result_.items.size()); ++i) {
        const cmp::Difference& d = result_.items[i];
        const QString place = cmp::PlaceGroupText(d.place, lang);
        QTreeWidgetItem*& top = byPlace[place];
        if (!top) {
            top = new QTreeWidgetItem(QStringList{place});
            top->setData(0, kDifferenceRole, i);
            tops << top;
        }
        QString a = d.valueA(lang), b = d.valueB(lang);
        if (d.change != cmp::Change::Changed && d.change != cmp::Change::Note) {
            const QString what = cmp::ChangeText(d.change, lang);
            (a.isEmpty() ? a : b) = QStringLiteral("(%1)").arg(what);
        }
        auto* row = new QTreeWidgetItem(top, QStringList{cmp::PlaceItemText(d.place, lang), d.label(lang), a, b});
        row->setData(0, kDifferenceRole, i);
    }
    for (QTreeWidgetItem* top : tops) top->setText(0, QStringLiteral("%1 (%2)").arg(top->text(0)).arg(top->childCount()));
    list_->addTopLevelItems(tops);
    list_->expandAll();
    list_->header()->setSectionResizeMode(QHeaderView::Interactive);
    list_->setColumnWidth(0, 200);
    list_->setColumnWidth(1, 200);
    list_->setColumnWidth(2, 150);
    list_->setUpdatesEnabled(true);
}

void FrmDifferences::OnActivated(QTreeWidgetItem* item)
{
    if (!item) return;
    const int i = item->data(0, kDifferenceRole).toInt();
    if (i >= 0 && i < int(result_.items.size())) OpenPlace(result_.items[i].place);
}

void FrmDifferences::OpenPlace(const cmp::Place& p)
{
    switch (p.kind) {
    case cmp::PlaceKind::Channel:
    case cmp::PlaceKind::Group:
        host_.ShowChild(Child::ChannelInfo);
        emit host_.ws().Events().channelSelected(p.band, p.group, p.channel > 0 ? p.channel : 1);
        break;
    case cmp::PlaceKind::Band:
        host_.ShowChild(Child::ChannelInfo);
        break;
    case cmp::PlaceKind::Option:
        host_.ShowChild(Child::OptFeatures);
        break;
    case cmp::PlaceKind::Dtmf:
        host_.ShowChild(Child::Dtmf);
        if (QWidget* w = host_.Editor(Child::Dtmf))
            if (auto* tabs = w->findChild<QTabWidget*>()) {
                // The code memories on their own tab, the encoder settings on the other.
                const QString codes = host_.ws().T(dtmftxt::Autodial);
                for (int i = 0; i < tabs->count(); ++i)
                    if ((tabs->tabText(i).remove('&') == codes) == (p.index > 0)) {
                        tabs->setCurrentIndex(i);
                        break;
                    }
            }
        break;
    case cmp::PlaceKind::RogerBeep:
        host_.ShowChild(Child::ToneTips);
        if (QWidget* w = host_.Editor(Child::ToneTips))
            if (auto* tabs = w->findChild<QTabBar*>(); tabs && p.index >= 1 && p.index <= tabs->count())
                tabs->setCurrentIndex(p.index - 1);
        break;
    case cmp::PlaceKind::Document:
    case cmp::PlaceKind::Other:
    case cmp::PlaceKind::Bytes: break;
    }
}

FrmDifferences* ShowDifferences(MainHost& host, cmp::Result result, const QString& nameA, const QString& nameB)
{
    auto* w = new FrmDifferences(host, std::move(result), nameA, nameB, host.MainWindow());
    PlaceOverMainWindow(w, host.MainWindow());
    w->show();
    w->raise();
    return w;
}

}  // namespace kt

namespace kt {

void ShowDifferencesAndWait(MainHost& host, cmp::Result result, const QString& nameA, const QString& nameB)
{
    QPointer<FrmDifferences> w = new FrmDifferences(host, std::move(result), nameA, nameB, host.MainWindow());
    w->setWindowModality(Qt::ApplicationModal);
    PlaceOverMainWindow(w, host.MainWindow());
    w->show();
    QEventLoop loop;
    QObject::connect(w.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
    if (w) loop.exec();
}

}  // namespace kt
