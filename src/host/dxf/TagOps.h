#pragma once

#include <initializer_list>

#include "host/dxf/TagFile.h"

namespace host::dxf {

// Editing helpers for one object. "Core" tags are those an object owns
// itself: before its XDATA (group 1001 on) and outside 102 {...} groups,
// which belong to applications and must never receive our tags.

// Index of the first core tag with the code at or after from, or -1.
int findCore(const Object& obj, int code, int from = 0);
// Index where the object's XDATA starts (its size when it has none).
int xdataStart(const Object& obj);
// Sets the first core tag with the code, or inserts one after the last core
// tag whose code comes before it in order (the canonical order of the
// object's tags), or else after the tag anchorCode.
void setOrInsert(TagFile& file, Object& obj, int code, QByteArrayView value,
                 std::initializer_list<int> order);
// Removes every core tag with the code.
void removeCore(Object& obj, int code);
// The object's type: the value of its group 0 tag.
QByteArrayView typeOf(const TagFile& file, const Object& obj);

}  // namespace host::dxf
