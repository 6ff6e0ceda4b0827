// A minimal main window stand-in for GUI tests of one child window: it owns
// the workspace seams and creates the editor windows on demand, without MDI.
#pragma once

#include "gui/MainHost.h"
#include "gui/channels/frmCommChInfo.h"
#include "gui/dtmf/FrmDTMF.h"
#include "gui/options/FrmOptFeatures.h"
#include "gui/rogerbeep/FrmToneTips.h"
#include "model/Workspace.h"

#include <QPoint>
#include <QWidget>
#include <memory>
#include <vector>

namespace kt::test {

class GuiTestHost : public MainHost {
public:
    // Hears the document's events as the main window does.
    explicit GuiTestHost(Workspace& ws) : ws_(ws)
    {
        ws_.asker = &asker;
        subscriptions_ = {
            QObject::connect(&ws_.Events(), &DocumentEvents::titleChanged, [this] { SetTitle(); }),
            QObject::connect(&ws_.Events(), &DocumentEvents::documentReplaced, [this] {
                SetTitle();
                if (!chan_) ShowChild(Child::ChannelInfo);
            }),
        };
    }
    ~GuiTestHost() override
    {
        for (const auto& c : subscriptions_) QObject::disconnect(c);
        CloseAllChildren();
    }

    Workspace& ws() override { return ws_; }
    QWidget* Editor(Child which) override {
        switch (which) {
        case Child::ChannelInfo: return chan_.get();
        case Child::OptFeatures: return opt_.get();
        case Child::Dtmf: return dtmf_.get();
        case Child::ToneTips: return tone_.get();
        }
        return nullptr;
    }

    void ShowChild(Child which) override {
        ++showCount;
        switch (which) {
        case Child::ChannelInfo: if (!chan_) chan_ = std::make_unique<frmCommChInfo>(*this); chan_->show(); break;
        case Child::OptFeatures: if (!opt_) opt_ = std::make_unique<FrmOptFeatures>(*this); opt_->show(); break;
        case Child::Dtmf: if (!dtmf_) dtmf_ = std::make_unique<FrmDTMF>(*this); dtmf_->show(); break;
        case Child::ToneTips: if (!tone_) tone_ = std::make_unique<FrmToneTips>(*this); tone_->show(); break;
        }
    }
    void CloseChild(Child which) override {
        switch (which) {
        case Child::ChannelInfo: chan_.reset(); break;
        case Child::OptFeatures: opt_.reset(); break;
        case Child::Dtmf: dtmf_.reset(); break;
        case Child::ToneTips: tone_.reset(); break;
        }
    }
    void CloseAllChildren() override { chan_.reset(); opt_.reset(); dtmf_.reset(); tone_.reset(); }
    void SetChildrenAside() override { CloseAllChildren(); }
    void ShowStatus(const QString& text) override { status << text; }
    void SetTitle() override { ++titleCount; }
    void PopupListEditMenu(const QPoint&) override { ++popupCount; }
    void LaunchVersion(const QString& v) override { launched << v; }
    QWidget* MainWindow() override { return nullptr; }

    ScriptedAsker asker;
    int showCount = 0, titleCount = 0, popupCount = 0;
    QStringList launched;
    QStringList status;   // every status-bar line, oldest first

private:
    Workspace& ws_;
    std::vector<QMetaObject::Connection> subscriptions_;
    std::unique_ptr<frmCommChInfo> chan_;
    std::unique_ptr<FrmOptFeatures> opt_;
    std::unique_ptr<FrmDTMF> dtmf_;
    std::unique_ptr<FrmToneTips> tone_;
};

}  // namespace kt::test
