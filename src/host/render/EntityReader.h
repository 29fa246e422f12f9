#pragma once

// Reading an object's own tags as numbers and strings, for the geometry
// builder. Internal to host/render.

#include <QByteArrayView>
#include <QString>

#include "host/Drawing.h"
#include "host/dxf/TagOps.h"

namespace host::render {

// Parses a DXF number; false for anything that is not a finite number.
bool parseNumber(QByteArrayView v, double* out);

// A TEXT string with its %% control codes resolved (%%d degree, %%p plus/minus,
// %%c diameter, %%% percent; %%u and %%o underline/overline toggles dropped).
QString plainText(const QString& s);

class EntityReader {
public:
    // Reads where the object's core tags are, once.
    EntityReader(const Drawing& drawing, const dxf::Object& obj);

    bool has(int code) const { return find(code) >= 0; }
    // Index of the first core tag with the code, or -1.
    int find(int code) const;
    // The first core tag with the code as a number, or the fallback when it
    // is missing or not a finite number.
    double num(int code, double fallback = 0.0) const;
    long long integer(int code, long long fallback = 0) const;
    QString string(int code) const;

    // Calls f(code, value) for each core tag in order (repeated groups such
    // as a polyline's vertices).
    template <typename F>
    void forEachCore(F f) const {
        int depth = 0;
        for (const dxf::Tag& t : obj_.tags) {
            if (t.code >= 1000)
                return;
            if (t.code == 102) {
                depth = depth == 0 ? 1 : 0;
                continue;
            }
            if (depth > 0)
                continue;
            f(t.code, file_.trimmedValue(t));
        }
    }

    const dxf::Object& object() const { return obj_; }

private:
    // The first core tag of each code, for objects with few distinct codes;
    // others fall back to searching the tags.
    static constexpr int kIndexed = 40;
    struct Slot {
        int code;
        int index;
    };
    Slot slots_[kIndexed];
    int used_ = 0;
    bool overflow_ = false;

    const Drawing& drawing_;
    const dxf::TagFile& file_;
    const dxf::Object& obj_;
};

}  // namespace host::render
