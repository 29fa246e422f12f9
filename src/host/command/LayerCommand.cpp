#include "host/command/LayerCommand.h"

#include <cmath>
#include <functional>

namespace host::command {

namespace {

const QStringList kOptions = {
    QStringLiteral("?"),       QStringLiteral("Make"),   QStringLiteral("Set"),
    QStringLiteral("New"),     QStringLiteral("Rename"), QStringLiteral("ON"),
    QStringLiteral("OFF"),     QStringLiteral("Color"),  QStringLiteral("Ltype"),
    QStringLiteral("LWeight"), QStringLiteral("Plot"),   QStringLiteral("Freeze"),
    QStringLiteral("Thaw"),    QStringLiteral("LOck"),   QStringLiteral("Unlock")};

enum class Step {
    Option,
    List,
    Make,
    Set,
    New,
    RenameOld,
    RenameNew,
    On,
    Off,
    OffCurrent,
    ColorValue,
    ColorNames,
    LtypeValue,
    LtypeNames,
    LweightValue,
    LweightNames,
    PlotValue,
    PlotNames,
    Freeze,
    Thaw,
    Lock,
    Unlock
};

// The option prompt's steps, in the order of kOptions.
const Step kOptionSteps[] = {
    Step::List,      Step::Make,   Step::Set,        Step::New,        Step::RenameOld,
    Step::On,        Step::Off,    Step::ColorValue, Step::LtypeValue, Step::LweightValue,
    Step::PlotValue, Step::Freeze, Step::Thaw,       Step::Lock,       Step::Unlock};

const int kLineweights[] = {0,  5,  9,  13, 15, 18,  20,  25,  30,  35,  40,  50,
                            53, 60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211};

QString lineweightText(int lw) {
    if (lw < 0)
        return QStringLiteral("Default");
    return QString::number(lw / 100.0, 'f', 2) + QStringLiteral("mm");
}

class LayerCommand : public Command {
public:
    explicit LayerCommand(CommandContext& ctx) : ctx_(ctx) {}

    bool start() override {
        doc_ = ctx_.document();
        if (!doc_) {
            ctx_.print(QStringLiteral("No drawing is open."));
            return true;
        }
        ctx_.print(QStringLiteral("Current layer:  \"%1\"").arg(current()));
        return false;
    }

    QString prompt() const override {
        switch (step_) {
            case Step::Option:
                return QStringLiteral("Enter an option [%1]: ")
                    .arg(kOptions.join(QLatin1Char('/')));
            case Step::List:
                return QStringLiteral("Enter layer name(s) to list <*>: ");
            case Step::Make:
                return QStringLiteral("Enter name for new layer (becomes the current layer) <%1>: ")
                    .arg(current());
            case Step::Set:
                return QStringLiteral("Enter layer name to make current or <select object>: ");
            case Step::New:
                return QStringLiteral("Enter name list for new layer(s): ");
            case Step::RenameOld:
                return QStringLiteral("Enter old layer name: ");
            case Step::RenameNew:
                return QStringLiteral("Enter new layer name: ");
            case Step::On:
                return QStringLiteral("Enter name list of layers to turn On: ");
            case Step::Off:
                return QStringLiteral(
                    "Enter name list of layers to turn Off or <select objects>: ");
            case Step::OffCurrent:
                return QStringLiteral(
                           "Really want layer %1 (the CURRENT layer) off? [Yes/No] <N>: ")
                    .arg(current());
            case Step::ColorValue:
                return QStringLiteral("Enter color name or number (1-255): ");
            case Step::ColorNames:
                return QStringLiteral("Enter name list of layers for color %1 <%2>: ")
                    .arg(colorText(color_), current());
            case Step::LtypeValue:
                return QStringLiteral("Enter a loaded linetype name or [?] <CONTINUOUS>: ");
            case Step::LtypeNames:
                return QStringLiteral("Enter name list of layers for linetype \"%1\" <%2>: ")
                    .arg(linetype_, current());
            case Step::LweightValue:
                return QStringLiteral("Enter lineweight (0.0mm - 2.11mm): ");
            case Step::LweightNames:
                return QStringLiteral("Enter name list of layers for lineweight %1 <%2>: ")
                    .arg(lineweightText(lineweight_), current());
            case Step::PlotValue:
                return QStringLiteral("Enter a plotting preference [Plot/No plot] <Plot>: ");
            case Step::PlotNames:
                return QStringLiteral("Enter layer name(s) for this plot preference <%1>: ")
                    .arg(current());
            case Step::Freeze:
                return QStringLiteral(
                    "Enter name list of layer(s) to freeze or <select objects>: ");
            case Step::Thaw:
                return QStringLiteral("Enter name list of layer(s) to thaw: ");
            case Step::Lock:
                return QStringLiteral("Enter name list of layer(s) to lock or <select objects>: ");
            case Step::Unlock:
                return QStringLiteral(
                    "Enter name list of layer(s) to unlock or <select objects>: ");
        }
        return QString();
    }

    bool reply(const QString& text) override {
        const Step step = step_;
        step_ = Step::Option;
        switch (step) {
            case Step::Option: {
                if (text.trimmed().isEmpty())
                    return true;
                const int k = matchKeyword(kOptions, text);
                if (k < 0)
                    ctx_.print(QStringLiteral("Invalid option keyword."));
                else
                    step_ = kOptionSteps[k];
                break;
            }
            case Step::List:
                list(text.trimmed().isEmpty() ? QStringLiteral("*") : text);
                break;
            case Step::Make:
                make(text.trimmed().isEmpty() ? current() : text.trimmed());
                break;
            case Step::Set:
                if (!text.trimmed().isEmpty())
                    setCurrent(text.trimmed());
                break;
            case Step::New:
                addLayers(text);
                break;
            case Step::RenameOld:
                if (text.trimmed().isEmpty())
                    break;
                // The old name of a rename is a literal name, never a pattern.
                renameFrom_ = doc_->drawing().findLayer(text.trimmed());
                if (!renameFrom_) {
                    notFound(text.trimmed());
                    break;
                }
                step_ = Step::RenameNew;
                break;
            case Step::RenameNew:
                if (!text.trimmed().isEmpty())
                    applyTo({renameFrom_}, [&](acad::Layer& l) { l.SetName(text.trimmed()); });
                renameFrom_.reset();
                break;
            case Step::On:
                apply(text, false, [](acad::Layer& l) { l.SetLayerOn(true); });
                break;
            case Step::Off:
                turnOff(text);
                break;
            case Step::OffCurrent: {
                const int k = matchKeyword({QStringLiteral("Yes"), QStringLiteral("No")}, text);
                if (k == 0)
                    applyTo({doc_->drawing().findLayer(current())},
                            [](acad::Layer& l) { l.SetLayerOn(false); });
                else if (k < 0 && !text.trimmed().isEmpty()) {
                    ctx_.print(QStringLiteral("Invalid option keyword."));
                    step_ = Step::OffCurrent;
                }
                break;
            }
            case Step::ColorValue:
                readColor(text);
                break;
            case Step::ColorNames:
                apply(text, true, [&](acad::Layer& l) {
                    l.SetColor(color_);
                    if (colorOff_)
                        l.SetLayerOn(false);
                });
                break;
            case Step::LtypeValue:
                readLinetype(text);
                break;
            case Step::LtypeNames:
                apply(text, true, [&](acad::Layer& l) { l.SetLinetype(linetype_); });
                break;
            case Step::LweightValue:
                readLineweight(text);
                break;
            case Step::LweightNames:
                apply(text, true, [&](acad::Layer& l) { l.SetLineweight(lineweight_); });
                break;
            case Step::PlotValue: {
                const int k =
                    text.trimmed().isEmpty()
                        ? 0
                        : matchKeyword({QStringLiteral("Plot"), QStringLiteral("No plot")}, text);
                if (k < 0) {
                    ctx_.print(QStringLiteral("Invalid option keyword."));
                    step_ = Step::PlotValue;
                } else {
                    plot_ = k == 0;
                    step_ = Step::PlotNames;
                }
                break;
            }
            case Step::PlotNames:
                apply(text, true, [&](acad::Layer& l) { l.SetPlottable(plot_); });
                break;
            case Step::Freeze:
                freeze(text);
                break;
            case Step::Thaw:
                apply(text, false, [](acad::Layer& l) { l.SetFreeze(false); });
                break;
            case Step::Lock:
                apply(text, false, [](acad::Layer& l) { l.SetLock(true); });
                break;
            case Step::Unlock:
                apply(text, false, [](acad::Layer& l) { l.SetLock(false); });
                break;
        }
        return false;
    }

private:
    QString current() const { return doc_->drawing().currentLayerName(); }

    void notFound(const QString& name) {
        ctx_.print(QStringLiteral("Cannot find layer \"%1\".").arg(name));
    }

    using Layers = std::vector<std::shared_ptr<LayerRecord>>;

    // The layers a reply names, resolved once: from here on the command works
    // on these records, never on their names (a name may itself read as a
    // pattern). An empty reply names the current layer where the prompt
    // offers it as the default, and none elsewhere.
    Layers resolve(const QString& list, bool emptyMeansCurrent) {
        if (list.trimmed().isEmpty()) {
            Layers none;
            if (emptyMeansCurrent)
                if (auto rec = doc_->drawing().findLayer(current()))
                    none.push_back(rec);
            return none;
        }
        QStringList missing;
        Layers layers = matchLayers(doc_->drawing(), list, &missing);
        for (const QString& m : missing)
            notFound(m);
        if (layers.empty() && missing.isEmpty())
            ctx_.print(QStringLiteral("No matching layer names found."));
        return layers;
    }

    // Runs the change on each layer through the object model, so the host's
    // refusals apply; a refusal is printed and the others go on.
    void applyTo(const Layers& layers, const std::function<void(acad::Layer&)>& change) {
        for (const auto& rec : layers) {
            if (!rec || rec->erased)
                continue;
            try {
                acad::LayerPtr layer = doc_->wrapLayer(rec);
                change(*layer);
            } catch (const acad::Error& e) {
                ctx_.print(e.description());
            }
        }
    }

    void apply(const QString& list, bool emptyMeansCurrent,
               const std::function<void(acad::Layer&)>& change) {
        applyTo(resolve(list, emptyMeansCurrent), change);
    }

    void list(const QString& pattern) {
        const Layers layers = resolve(pattern, false);
        if (layers.empty())
            return;
        ctx_.print(
            QStringLiteral("Layer name                     State              Color    "
                           "Linetype        Lineweight"));
        for (const auto& rec : layers) {
            try {
                const QString& name = rec->name;
                acad::LayerPtr l = doc_->wrapLayer(rec);
                QStringList state;
                state << (l->LayerOn() ? QStringLiteral("On") : QStringLiteral("Off"));
                if (l->Freeze())
                    state << QStringLiteral("Frozen");
                if (l->Lock())
                    state << QStringLiteral("Locked");
                if (!l->Plottable())
                    state << QStringLiteral("No plot");
                ctx_.print(QStringLiteral("%1 %2 %3 %4 %5")
                               .arg(name, -30)
                               .arg(state.join(QLatin1Char(' ')), -18)
                               .arg(colorText(static_cast<int>(l->Color())), -8)
                               .arg(l->Linetype(), -15)
                               .arg(lineweightText(static_cast<int>(l->Lineweight()))));
            } catch (const acad::Error& e) {
                ctx_.print(e.description());
            }
        }
        ctx_.print(QStringLiteral("Current layer: %1").arg(current()));
    }

    void make(const QString& name) {
        try {
            acad::LayersPtr layers = doc_->Layers();
            acad::LayerPtr layer = layers->Add(name);
            doc_->SetActiveLayer(layer);
            layer->SetLayerOn(true);
        } catch (const acad::Error& e) {
            ctx_.print(e.description());
        }
    }

    void setCurrent(const QString& name) {
        if (!doc_->drawing().findLayer(name)) {
            notFound(name);
            return;
        }
        try {
            doc_->SetActiveLayer(doc_->Layers()->Item(name));
        } catch (const acad::Error& e) {
            ctx_.print(e.description());
        }
    }

    void addLayers(const QString& list) {
        for (const QString& piece : list.split(QLatin1Char(','))) {
            const QString name = piece.trimmed();
            if (name.isEmpty())
                continue;
            if (doc_->drawing().findLayer(name)) {
                ctx_.print(QStringLiteral("Layer \"%1\" already exists.").arg(name));
                continue;
            }
            try {
                doc_->Layers()->Add(name);
            } catch (const acad::Error& e) {
                ctx_.print(e.description());
            }
        }
    }

    // The resolved layers without the current one, which both Freeze and
    // OFF treat apart; the current layer's record is given back.
    Layers withoutCurrent(Layers layers, std::shared_ptr<LayerRecord>* currentOut) {
        const auto cur = doc_->drawing().findLayer(current());
        Layers rest;
        rest.reserve(layers.size());
        for (auto& rec : layers) {
            if (rec == cur)
                *currentOut = rec;
            else
                rest.push_back(std::move(rec));
        }
        return rest;
    }

    void turnOff(const QString& list) {
        std::shared_ptr<LayerRecord> cur;
        applyTo(withoutCurrent(resolve(list, false), &cur),
                [](acad::Layer& l) { l.SetLayerOn(false); });
        if (cur)
            step_ = Step::OffCurrent;
    }

    void freeze(const QString& list) {
        std::shared_ptr<LayerRecord> cur;
        const Layers rest = withoutCurrent(resolve(list, false), &cur);
        if (cur)
            ctx_.print(QStringLiteral("Cannot freeze layer \"%1\".  It is the CURRENT layer.")
                           .arg(cur->name));
        applyTo(rest, [](acad::Layer& l) { l.SetFreeze(true); });
    }

    void readColor(const QString& text) {
        QString t = text.trimmed();
        colorOff_ = t.startsWith(QLatin1Char('-'));
        if (colorOff_)
            t = t.mid(1);
        color_ = parseColor(t);
        if (color_ == 0) {
            ctx_.print(QStringLiteral("Requires a color number from 1 to 255 or a color name."));
            step_ = Step::ColorValue;
            return;
        }
        step_ = Step::ColorNames;
    }

    void readLinetype(const QString& text) {
        const QString t = text.trimmed().isEmpty() ? QStringLiteral("CONTINUOUS") : text.trimmed();
        step_ = Step::LtypeValue;
        std::vector<QString> loaded;
        try {
            loaded = doc_->Linetypes()->names();
        } catch (const acad::Error& e) {
            ctx_.print(e.description());
            step_ = Step::Option;
            return;
        }
        if (t == QLatin1String("?")) {
            for (const QString& n : loaded)
                ctx_.print(n);
            return;
        }
        for (const QString& n : loaded)
            if (QString::compare(n, t, Qt::CaseInsensitive) == 0) {
                linetype_ = n;
                step_ = Step::LtypeNames;
                return;
            }
        ctx_.print(
            QStringLiteral("Linetype \"%1\" not found.  Use LINETYPE command to load it.").arg(t));
    }

    // Takes millimetres and rounds to the nearest standard lineweight, or
    // "Default".
    void readLineweight(const QString& text) {
        const QString t = text.trimmed();
        step_ = Step::LweightNames;
        if (!t.isEmpty() && QStringLiteral("default").startsWith(t, Qt::CaseInsensitive)) {
            lineweight_ = -3;
            return;
        }
        QString number = t;
        if (number.endsWith(QLatin1String("mm"), Qt::CaseInsensitive))
            number.chop(2);
        bool ok = false;
        const double mm = number.toDouble(&ok);
        if (!ok || !std::isfinite(mm) || mm < 0 || mm > 2.11 + 1e-9) {
            ctx_.print(QStringLiteral("Invalid lineweight."));
            step_ = Step::LweightValue;
            return;
        }
        const double hundredths = mm * 100;
        int best = kLineweights[0];
        for (int lw : kLineweights)
            if (std::abs(lw - hundredths) < std::abs(best - hundredths))
                best = lw;
        lineweight_ = best;
    }

    CommandContext& ctx_;
    HostDocumentPtr doc_;
    Step step_ = Step::Option;
    std::shared_ptr<LayerRecord> renameFrom_;
    int color_ = 7;
    bool colorOff_ = false;
    QString linetype_ = QStringLiteral("CONTINUOUS");
    int lineweight_ = -3;
    bool plot_ = true;
};

}  // namespace

std::unique_ptr<Command> makeLayerCommand(CommandContext& ctx) {
    return std::make_unique<LayerCommand>(ctx);
}

}  // namespace host::command
