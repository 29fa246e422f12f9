#include "host/dxf/TagOps.h"

#include <algorithm>

namespace host::dxf {

namespace {

// Calls f(index) for each core tag until it returns false.
template <typename F>
void forEachCore(const Object& obj, F f) {
    int depth = 0;
    const int n = static_cast<int>(obj.tags.size());
    for (int i = 0; i < n; ++i) {
        const int code = obj.tags[static_cast<size_t>(i)].code;
        if (code >= 1000)
            return;
        if (code == 102) {
            // "{NAME" opens and "}" closes; the tag itself is not core.
            depth = depth == 0 ? 1 : 0;
            continue;
        }
        if (depth > 0)
            continue;
        if (!f(i))
            return;
    }
}

}  // namespace

int findCore(const Object& obj, int code, int from) {
    int found = -1;
    forEachCore(obj, [&](int i) {
        if (i >= from && obj.tags[static_cast<size_t>(i)].code == code) {
            found = i;
            return false;
        }
        return true;
    });
    return found;
}

int xdataStart(const Object& obj) {
    for (size_t i = 0; i < obj.tags.size(); ++i)
        if (obj.tags[i].code >= 1000)
            return static_cast<int>(i);
    return static_cast<int>(obj.tags.size());
}

void setOrInsert(TagFile& file, Object& obj, int code, QByteArrayView value,
                 std::initializer_list<int> order) {
    const int existing = findCore(obj, code);
    if (existing >= 0) {
        file.setValue(obj.tags[static_cast<size_t>(existing)], value);
        return;
    }
    // Codes that must stand before the new one.
    std::vector<int> before;
    for (int c : order) {
        if (c == code)
            break;
        before.push_back(c);
    }
    int after = -1;
    forEachCore(obj, [&](int i) {
        if (std::find(before.begin(), before.end(), obj.tags[static_cast<size_t>(i)].code) !=
            before.end())
            after = i;
        return true;
    });
    if (after < 0)
        after = 0;  // right after the group 0 tag
    obj.tags.insert(obj.tags.begin() + after + 1, file.makeTag(code, value));
}

void removeCore(Object& obj, int code) {
    std::vector<int> drop;
    forEachCore(obj, [&](int i) {
        if (obj.tags[static_cast<size_t>(i)].code == code)
            drop.push_back(i);
        return true;
    });
    for (auto it = drop.rbegin(); it != drop.rend(); ++it)
        obj.tags.erase(obj.tags.begin() + *it);
}

QByteArrayView typeOf(const TagFile& file, const Object& obj) {
    if (obj.tags.empty() || obj.tags[0].code != 0)
        return {};
    return file.trimmedValue(obj.tags[0]);
}

}  // namespace host::dxf
