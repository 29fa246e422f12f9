#pragma once

// One undo step around a command that writes to a drawing: opens the mark
// when made and closes it when it goes out of scope, on every path, errors
// included. The name is the command's procedure name, shown by the host as
// the step's name.

#include <QString>
#include <exception>
#include <utility>

#include "acad/Acad.h"

namespace acad {

class UndoMark {
public:
    UndoMark(DocumentPtr doc, const QString& name) : doc_(std::move(doc)) {
        if (!doc_)
            return;
        try {
            doc_->StartUndoMark(name);
            open_ = true;
        } catch (const std::exception&) {
            // A drawing that cannot open a mark fails the command's own calls.
        }
    }
    ~UndoMark() {
        if (!open_)
            return;
        try {
            doc_->EndUndoMark();
        } catch (const std::exception&) {
            // A closed drawing has no step left to close.
        }
    }
    UndoMark(const UndoMark&) = delete;
    UndoMark& operator=(const UndoMark&) = delete;

private:
    DocumentPtr doc_;
    bool open_ = false;
};

}  // namespace acad
