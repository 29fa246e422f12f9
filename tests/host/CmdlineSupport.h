#pragma once

// Shared by the command-line, viewport and script tests: drawings written by
// ezdxf, their state read back by ezdxf, and waiting for the host to be idle.

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include "host/HostApplication.h"

namespace cmdline {

// Writes the test drawings once (tests/python/cmdline_make.py) and returns
// their manifest; fails the test when Python fails.
QJsonObject drawings();
// A fresh copy of one of those drawings ("layers2000", "vp341", "layersR12").
QString copyOf(const QString& key);
// The drawing as ezdxf reads it (tests/python/cmdline_check.py).
QJsonObject check(const QString& path);
// Writes a script file with CR LF line ends.
QString writeScript(const QString& name, const QStringList& lines);
// Runs the event loop until the application is idle; false after timeoutMs.
bool waitUntilQuiescent(host::HostApplication& app, int timeoutMs = 30000);

}  // namespace cmdline
