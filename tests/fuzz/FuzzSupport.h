#pragma once

// What every fuzz target shares: a Qt application object made once, the
// bytes as text, and the environment switches the corpus run uses.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace fuzzsupport {

// Creates the QCoreApplication (offscreen) the host's code expects; cheap
// after the first call.
void ensureApplication();

// The fuzz input as Qt bytes (a deep copy: libFuzzer's buffer is not ours).
QByteArray bytesOf(const std::uint8_t* data, std::size_t size);

// The folder named by TOVA_FUZZ_SAVE_DIR, or empty when unset. The corpus run
// sets it so that a script can check the saved drawings with ezdxf.
QString saveDir();

// Stops the process with a message when the condition fails: libFuzzer
// records the input as a crash.
void require(bool condition, const char* what);

}  // namespace fuzzsupport
