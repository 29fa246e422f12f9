#include "host/command/SimpleCommands.h"

#include <QDir>
#include <QFileInfo>

#include "host/Viewports.h"

namespace host::command {

namespace {

const QString kNoDrawing = QStringLiteral("No drawing is open.");
const QString kModelTab = QStringLiteral("** Command not allowed in Model Tab **");

// FILEDIA: 1 lets file commands open dialogs, 0 makes them ask on the command line.
class Filedia : public Command {
public:
    explicit Filedia(CommandContext& ctx) : ctx_(ctx) {}
    bool start() override { return false; }
    QString prompt() const override {
        return QStringLiteral("Enter new value for FILEDIA <%1>: ").arg(ctx_.fileDia());
    }
    bool reply(const QString& text) override {
        const QString t = text.trimmed();
        if (t.isEmpty())
            return true;
        bool ok = false;
        const int v = t.toInt(&ok);
        if (!ok) {
            ctx_.print(QStringLiteral("Requires an integer value."));
            return false;
        }
        if (v != 0 && v != 1) {
            ctx_.print(QStringLiteral("Requires an integer between 0 and 1."));
            return false;
        }
        ctx_.setFileDia(v);
        return true;
    }

private:
    CommandContext& ctx_;
};

// SCRIPT: the file comes from a dialog with FILEDIA 1, else from the command line.
class Script : public Command {
public:
    explicit Script(CommandContext& ctx) : ctx_(ctx) {}
    bool start() override {
        if (ctx_.fileDia() == 1 && !ctx_.isRunningScript()) {
            ctx_.requestFileDialog(QStringLiteral("SCRIPT"));
            ctx_.print(QStringLiteral("Choose the script file in the file dialog."));
            return true;
        }
        return false;
    }
    QString prompt() const override {
        return QStringLiteral("Enter script file name <%1>: ").arg(defaultFile());
    }
    bool takesText() const override { return true; }
    bool reply(const QString& text) override {
        QString name = text.trimmed();
        if (name == QLatin1String("~")) {
            ctx_.requestFileDialog(QStringLiteral("SCRIPT"));
            return true;
        }
        if (name.isEmpty())
            name = defaultFile();
        if (name.isEmpty())
            return true;
        ctx_.startScript(resolve(name));
        return true;
    }

private:
    QString folder() const {
        auto doc = ctx_.document();
        return doc && !doc->isClosed() ? doc->Path() : QString();
    }
    QString defaultFile() const {
        if (!ctx_.lastScript().isEmpty())
            return ctx_.lastScript();
        auto doc = ctx_.document();
        if (!doc || doc->isClosed())
            return QString();
        const QString base = QFileInfo(doc->Name()).completeBaseName() + QStringLiteral(".scr");
        return folder().isEmpty() ? base : QDir(folder()).filePath(base);
    }
    // A relative name is looked for beside the drawing, then in the working
    // folder; a name without an extension may mean the ".scr" file.
    QString resolve(const QString& name) const {
        QStringList candidates;
        if (QFileInfo(name).isRelative() && !folder().isEmpty())
            candidates << QDir(folder()).filePath(name);
        candidates << name;
        for (const QString& c : candidates) {
            if (QFileInfo(c).isFile())
                return c;
            if (QFileInfo(c).suffix().isEmpty() && QFileInfo(c + QStringLiteral(".scr")).isFile())
                return c + QStringLiteral(".scr");
        }
        return name;
    }
    CommandContext& ctx_;
};

// A command that acts at once on the active drawing and asks nothing; it
// reports when there is no drawing (or, when it needs one, no layout).
class ImmediateCommand : public Command {
public:
    ImmediateCommand(CommandContext& ctx, bool needsLayout)
        : ctx_(ctx), needsLayout_(needsLayout) {}
    bool start() override {
        auto doc = ctx_.document();
        if (!doc) {
            ctx_.print(kNoDrawing);
            return true;
        }
        if (needsLayout_ && doc->ActiveSpace() != acad::acPaperSpace) {
            ctx_.print(kModelTab);
            return true;
        }
        run(*doc);
        return true;
    }
    QString prompt() const override { return QString(); }
    bool reply(const QString&) override { return true; }

protected:
    virtual void run(HostDocument& doc) = 0;
    CommandContext& ctx_;

private:
    bool needsLayout_;
};

class Regen : public ImmediateCommand {
public:
    explicit Regen(CommandContext& ctx) : ImmediateCommand(ctx, false) {}

private:
    void run(HostDocument& doc) override {
        ctx_.print(QStringLiteral("Regenerating model."));
        doc.Regen(acad::acAllViewports);
    }
};

// MSPACE enters the model space of a floating viewport that is on: the
// current one when still valid, else the layout's first.
class Mspace : public ImmediateCommand {
public:
    explicit Mspace(CommandContext& ctx) : ImmediateCommand(ctx, true) {}

private:
    void run(HostDocument& doc) override {
        const QString layout = effectiveLayout(doc);
        std::vector<int> on;
        for (const Viewport& vp : floatingViewports(doc.drawing(), layout))
            if (vp.on)
                on.push_back(vp.entity);
        if (on.empty()) {
            ctx_.print(QStringLiteral("There are no active model space viewports."));
            return;
        }
        int current = doc.currentViewport();
        if (std::find(on.begin(), on.end(), current) == on.end())
            current = on.front();
        doc.setCurrentLayout(layout);
        doc.setCurrentViewport(current);
        doc.setMSpace(true);
    }
};

class Pspace : public ImmediateCommand {
public:
    explicit Pspace(CommandContext& ctx) : ImmediateCommand(ctx, true) {}

private:
    void run(HostDocument& doc) override { doc.setMSpace(false); }
};

// QSAVE writes the drawing to its file; one never saved asks for a name.
class Qsave : public Command {
public:
    explicit Qsave(CommandContext& ctx) : ctx_(ctx) {}
    bool start() override {
        doc_ = ctx_.document();
        if (!doc_) {
            ctx_.print(kNoDrawing);
            return true;
        }
        if (doc_->FullName().isEmpty())
            return false;
        save(QString());
        return true;
    }
    QString prompt() const override {
        return QStringLiteral("Save drawing as <%1>: ").arg(doc_->Name());
    }
    bool takesText() const override { return true; }
    bool reply(const QString& text) override {
        QString name = text.trimmed();
        if (name.isEmpty())
            name = doc_->Name();
        if (QFileInfo(name).suffix().isEmpty())
            name += QStringLiteral(".dxf");
        save(name);
        return true;
    }

private:
    void save(const QString& path) {
        try {
            doc_->save(path);
        } catch (const acad::Error& e) {
            ctx_.print(e.description());
        }
    }
    CommandContext& ctx_;
    HostDocumentPtr doc_;
};

}  // namespace

std::unique_ptr<Command> makeFiledia(CommandContext& ctx) {
    return std::make_unique<Filedia>(ctx);
}
std::unique_ptr<Command> makeScript(CommandContext& ctx) {
    return std::make_unique<Script>(ctx);
}
std::unique_ptr<Command> makeRegen(CommandContext& ctx) {
    return std::make_unique<Regen>(ctx);
}
std::unique_ptr<Command> makeMspace(CommandContext& ctx) {
    return std::make_unique<Mspace>(ctx);
}
std::unique_ptr<Command> makePspace(CommandContext& ctx) {
    return std::make_unique<Pspace>(ctx);
}
std::unique_ptr<Command> makeQsave(CommandContext& ctx) {
    return std::make_unique<Qsave>(ctx);
}

}  // namespace host::command
