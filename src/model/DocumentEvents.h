// What the document tells the windows.  The core emits; each window
// subscribes to what it shows, so no window calls another and the core never
// asks which windows are open.
#pragma once

#include <QObject>
#include <memory>

namespace kt {

class DocumentEvents : public QObject {
    Q_OBJECT
signals:
    void titleChanged();                           // band range or file name
    void channelsChanged(int band, int group);     // channels of a group added, removed or renumbered
    void channelRefsChanged(int band, int group);  // a group's emergency channels or group byte re-pointed
    void dtmfCodesChanged();                       // DTMF codes (the channel lists that name them)
    void rogerBeepsChanged();                      // roger-beep patterns (the lists that name them)
    void optionsChanged();
    void languageChanged();
    void documentReplaced();                       // New, Open, Read from Radio, Initial Setting
    // Undo or redo put an earlier or later state back, in place: show all of
    // it again from the model.  What a window writes back while showing it
    // belongs to that state.
    void documentRestored();
    void documentSaved();                          // written to CurrentFile
    void aboutToEncode();                          // store pending edits: the model is about to be used whole
    void channelSelected(int band, int group, int channel);   // show this channel in the channel editor
};

// A workspace owns its events object.  A copy of a workspace gets one of its
// own: nobody subscribed to the original hears of changes to the copy.
class DocumentEventsHolder {
public:
    DocumentEventsHolder() : events_(std::make_unique<DocumentEvents>()) {}
    DocumentEventsHolder(const DocumentEventsHolder&) : DocumentEventsHolder() {}
    DocumentEventsHolder& operator=(const DocumentEventsHolder&) { return *this; }
    DocumentEvents& get() const { return *events_; }

private:
    std::unique_ptr<DocumentEvents> events_;
};

}  // namespace kt
