#include "host/command/UndoCommands.h"

namespace host::command {

namespace {

// Takes back (or replays) up to n steps, printing each step's name.
void step(CommandContext& ctx, int n, bool undoing) {
    HostDocumentPtr doc = ctx.document();
    if (!doc) {
        ctx.print(QStringLiteral("開いている図面がありません。"));
        return;
    }
    UndoHistory& h = doc->history();
    if (h.markDepth() > 0) {
        ctx.print(undoing ? QStringLiteral("記録中のグループがあるため元に戻せません。")
                          : QStringLiteral("記録中のグループがあるためやり直せません。"));
        return;
    }
    int done = 0;
    for (; done < n; ++done) {
        const QString name = undoing ? h.undoName() : h.redoName();
        if (!(undoing ? doc->undo(1) : doc->redo(1)))
            break;
        ctx.print((undoing ? QStringLiteral("元に戻す: ") : QStringLiteral("やり直し: ")) + name);
    }
    if (done == 0)
        ctx.print(undoing ? QStringLiteral("元に戻す操作はありません。")
                          : QStringLiteral("やり直す操作はありません。"));
}

class U : public Command {
public:
    U(CommandContext& ctx, bool undoing) : ctx_(ctx), undoing_(undoing) {}
    bool start() override {
        step(ctx_, 1, undoing_);
        return true;
    }
    QString prompt() const override { return {}; }
    bool reply(const QString&) override { return true; }

private:
    CommandContext& ctx_;
    bool undoing_;
};

// UNDO: the number of steps to take back, 1 by default.
class Undo : public Command {
public:
    explicit Undo(CommandContext& ctx) : ctx_(ctx) {}
    bool start() override { return false; }
    QString prompt() const override {
        return QStringLiteral("Enter the number of operations to undo <1>: ");
    }
    bool reply(const QString& text) override {
        const QString t = text.trimmed();
        if (t.isEmpty()) {
            step(ctx_, 1, true);
            return true;
        }
        bool ok = false;
        const int n = t.toInt(&ok);
        if (!ok || n < 1) {
            ctx_.print(QStringLiteral("1 以上の整数を入力してください。"));
            return false;
        }
        step(ctx_, n, true);
        return true;
    }

private:
    CommandContext& ctx_;
};

}  // namespace

std::unique_ptr<Command> makeUndoCommand(const QString& name, CommandContext& ctx) {
    const QString n = name.toUpper();
    if (n == QLatin1String("U"))
        return std::make_unique<U>(ctx, true);
    if (n == QLatin1String("REDO"))
        return std::make_unique<U>(ctx, false);
    if (n == QLatin1String("UNDO"))
        return std::make_unique<Undo>(ctx);
    return nullptr;
}

}  // namespace host::command
