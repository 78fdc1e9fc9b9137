// The Qt backend's view of the showcase form.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "platform/qt/QtFormPeer.h"
#include "platform/qt/QtUi.h"
#include "platform/ui.h"
#include "support/ShowcaseForm.h"

namespace tarnwk::test {

using QtTestForm = ShowcaseForm;

// The backend's objects for the test form.
struct QtView {
    qt::QtUi& backend;
    ui::Form& form;

    qt::QtFormPeer* peer() const { return backend.peerOf(form); }
    QWidget* window() const { return peer()->window(); }
    template <class W>
    W* widget(const ui::Control& control) const {
        return dynamic_cast<W*>(peer()->objectOf(control));
    }
};

// Runs the event loop for about `ms` milliseconds, deleting what was
// deleted later too.
void serveFor(int ms);

}  // namespace tarnwk::test
