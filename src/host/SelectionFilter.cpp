#include "host/SelectionFilter.h"

#include "acad/Error.h"

namespace host {

SelectionFilter::SelectionFilter(const std::vector<int>& types, const std::vector<QVariant>& data) {
    if (types.size() != data.size())
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("引数が無効です: フィルタの配列の長さが一致しません。"));
    for (size_t i = 0; i < types.size(); ++i) {
        Term t;
        t.code = types[i];
        switch (t.code) {
            case 0:
            case 6:
            case 8:
                t.pattern = WildcardPattern(data[i].toString());
                break;
            case 62:
            case 67: {
                bool ok = false;
                t.number = data[i].toLongLong(&ok);
                if (!ok)
                    acad::raise(acad::ErrorNumber::InvalidInput,
                                QStringLiteral("引数が無効です: コード %1 のフィルタ値が数値では"
                                               "ありません。")
                                    .arg(t.code));
                break;
            }
            default:
                acad::raise(
                    acad::ErrorNumber::InvalidInput,
                    QStringLiteral("引数が無効です: フィルタのコード %1 には対応していません。")
                        .arg(t.code));
        }
        terms_.push_back(std::move(t));
    }
}

const QString* SelectionFilter::exactLayer() const {
    for (const Term& t : terms_)
        if (t.code == 8 && t.pattern.isLiteral())
            return &t.pattern.literalText();
    return nullptr;
}

bool SelectionFilter::matches(const Drawing& d, const EntityRecord& e) const {
    for (const Term& t : terms_) {
        switch (t.code) {
            case 0:
                if (!t.pattern.matches(d.entityType(e)))
                    return false;
                break;
            case 8: {
                // A plain name is the usual filter; comparing it directly
                // skips the wildcard machinery.
                const QString layer = d.entityLayer(e);
                if (t.pattern.isLiteral()
                        ? QString::compare(layer, t.pattern.literalText(), Qt::CaseInsensitive) != 0
                        : !t.pattern.matches(layer))
                    return false;
                break;
            }
            case 6:
                if (!t.pattern.matches(d.entityLinetype(e)))
                    return false;
                break;
            case 62:
                if (d.entityColor(e) != t.number)
                    return false;
                break;
            case 67:
                if ((e.space == Space::Paper ? 1 : 0) != t.number)
                    return false;
                break;
            default:
                return false;
        }
    }
    return true;
}

}  // namespace host
