#include "host/command/VplayerCommand.h"

#include <algorithm>

#include "host/Viewports.h"

namespace host::command {

namespace {

const QStringList kOptions = {QStringLiteral("Freeze"), QStringLiteral("Thaw"),
                              QStringLiteral("Reset"), QStringLiteral("Newfrz"),
                              QStringLiteral("Vpvisdflt")};
const QStringList kWhere = {QStringLiteral("All"), QStringLiteral("Select"),
                            QStringLiteral("Current"), QStringLiteral("eXcept current")};
enum Where { All, Select, Current, ExceptCurrent };

enum class Step { Option, Names, Where, Newfrz, VisNames, VisValue };
enum class Action { Freeze, Thaw, Reset };

class VplayerCommand : public Command {
public:
    explicit VplayerCommand(CommandContext& ctx) : ctx_(ctx) {}

    bool start() override {
        doc_ = ctx_.document();
        if (!doc_) {
            ctx_.print(QStringLiteral("No drawing is open."));
            return true;
        }
        return false;
    }

    QString prompt() const override {
        switch (step_) {
            case Step::Option:
                return QStringLiteral("Enter an option [%1]: ")
                    .arg(kOptions.join(QLatin1Char('/')));
            case Step::Names: {
                const char* verb = action_ == Action::Freeze ? "freeze"
                                   : action_ == Action::Thaw ? "thaw"
                                                             : "reset";
                return QStringLiteral("Enter layer name(s) to %1 or <select objects>: ")
                    .arg(QLatin1String(verb));
            }
            case Step::Where:
                return QStringLiteral("Enter an option [%1] <Current>: ")
                    .arg(kWhere.join(QLatin1Char('/')));
            case Step::Newfrz:
                return QStringLiteral("Enter name(s) of new layers frozen in all viewports: ");
            case Step::VisNames:
                return QStringLiteral("Enter layer name(s) to change viewport visibility: ");
            case Step::VisValue:
                return QStringLiteral(
                    "Enter a default viewport visibility option [Frozen/Thawed] <Thawed>: ");
        }
        return QString();
    }

    bool reply(const QString& text) override {
        const Step step = step_;
        step_ = Step::Option;
        switch (step) {
            case Step::Option:
                if (text.trimmed().isEmpty())
                    return true;
                chooseOption(text);
                break;
            case Step::Names:
                if (text.trimmed().isEmpty())
                    break;
                names_ = resolve(text);
                // The viewport prompt follows even when no layer matched, so
                // a script's next reply still lands on the prompt it was written for.
                step_ = Step::Where;
                break;
            case Step::Where:
                where(text);
                break;
            case Step::Newfrz:
                newFrozen(text);
                break;
            case Step::VisNames:
                if (text.trimmed().isEmpty())
                    break;
                names_ = resolve(text);
                step_ = Step::VisValue;
                break;
            case Step::VisValue: {
                const int k =
                    text.trimmed().isEmpty()
                        ? 1
                        : matchKeyword({QStringLiteral("Frozen"), QStringLiteral("Thawed")}, text);
                if (k < 0) {
                    ctx_.print(QStringLiteral("Invalid option keyword."));
                    step_ = Step::VisValue;
                    break;
                }
                for (const QString& name : names_) {
                    try {
                        doc_->Layers()->Item(name)->SetViewportDefault(k == 0);
                    } catch (const acad::Error& e) {
                        ctx_.print(e.description());
                    }
                }
                break;
            }
        }
        return false;
    }

private:
    void chooseOption(const QString& text) {
        const int k = matchKeyword(kOptions, text);
        if (k < 0) {
            ctx_.print(QStringLiteral("Invalid option keyword."));
            return;
        }
        if (k <= 2) {
            if (doc_->ActiveSpace() != acad::acPaperSpace) {
                ctx_.print(QStringLiteral("** Command not allowed in Model Tab **"));
                return;
            }
            action_ = static_cast<Action>(k);
            step_ = Step::Names;
        } else {
            step_ = k == 3 ? Step::Newfrz : Step::VisNames;
        }
    }

    std::vector<QString> resolve(const QString& list) {
        QStringList missing;
        std::vector<QString> names = matchLayerNames(doc_->drawing(), list, &missing);
        for (const QString& m : missing)
            ctx_.print(QStringLiteral("Cannot find layer \"%1\".").arg(m));
        if (names.empty() && missing.isEmpty())
            ctx_.print(QStringLiteral("No matching layer names found."));
        return names;
    }

    std::vector<int> layoutViewports() const {
        std::vector<int> out;
        for (const Viewport& vp : floatingViewports(doc_->drawing(), effectiveLayout(*doc_)))
            out.push_back(vp.entity);
        return out;
    }

    // The floating viewport whose model space is active, or -1.
    int currentViewport() const {
        if (doc_->ActiveSpace() != acad::acPaperSpace || !doc_->MSpace())
            return -1;
        const std::vector<int> all = layoutViewports();
        const int cur = doc_->currentViewport();
        return std::find(all.begin(), all.end(), cur) != all.end() ? cur : -1;
    }

    void where(const QString& text) {
        const int k = text.trimmed().isEmpty() ? Current : matchKeyword(kWhere, text);
        std::vector<int> targets;
        switch (k) {
            case All:
                targets = layoutViewports();
                break;
            case Select:
                if (!doc_->pickOnScreen) {
                    ctx_.print(QStringLiteral("Picking viewports is not available here."));
                    step_ = Step::Where;
                    return;
                }
                for (int i : doc_->pickOnScreen()) {
                    const std::vector<int> all = layoutViewports();
                    if (std::find(all.begin(), all.end(), i) != all.end())
                        targets.push_back(i);
                }
                break;
            case Current: {
                const int cur = currentViewport();
                if (cur < 0) {
                    ctx_.print(QStringLiteral(
                        "The current viewport is not a floating viewport.  Use MSPACE first."));
                    step_ = Step::Where;
                    return;
                }
                targets.push_back(cur);
                break;
            }
            case ExceptCurrent: {
                const int cur = currentViewport();
                for (int i : layoutViewports())
                    if (i != cur)
                        targets.push_back(i);
                break;
            }
            default:
                ctx_.print(QStringLiteral("Invalid option keyword."));
                step_ = Step::Where;
                return;
        }
        apply(targets);
    }

    void apply(const std::vector<int>& viewports) {
        bool changed = false;
        for (const QString& name : names_) {
            try {
                Drawing& d = doc_->drawing();
                bool frozen = action_ == Action::Freeze;
                if (action_ == Action::Reset) {
                    const auto rec = d.findLayer(name);
                    frozen = rec && (d.layerFlags(*rec) & 2);
                }
                for (int vp : viewports) {
                    setFrozenInViewport(d, vp, name, frozen);
                    changed = true;
                }
            } catch (const acad::Error& e) {
                ctx_.print(e.description());
            }
        }
        if (changed)
            doc_->markModified();
    }

    // Newfrz: new layers that are frozen in every floating viewport and in
    // the viewports made later.
    void newFrozen(const QString& list) {
        bool changed = false;
        for (const QString& piece : list.split(QLatin1Char(','))) {
            const QString name = piece.trimmed();
            if (name.isEmpty())
                continue;
            try {
                acad::LayerPtr layer = doc_->Layers()->Add(name);
                layer->SetViewportDefault(true);
                Drawing& d = doc_->drawing();
                for (const QString& layout : layoutNames(d))
                    for (const Viewport& vp : floatingViewports(d, layout)) {
                        setFrozenInViewport(d, vp.entity, name, true);
                        changed = true;
                    }
            } catch (const acad::Error& e) {
                ctx_.print(e.description());
            }
        }
        if (changed)
            doc_->markModified();
    }

    CommandContext& ctx_;
    HostDocumentPtr doc_;
    Step step_ = Step::Option;
    Action action_ = Action::Freeze;
    std::vector<QString> names_;
};

}  // namespace

std::unique_ptr<Command> makeVplayerCommand(CommandContext& ctx) {
    return std::make_unique<VplayerCommand>(ctx);
}

}  // namespace host::command
