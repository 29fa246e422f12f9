#pragma once

// A list area as the main window builds it: two sorted lists, their caption
// labels, the apply button (disabled, as after a read) and a caption refresh
// that counts its calls and writes the counts.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QWidget>
#include <memory>

#include "UiTestSupport.h"
#include "ui/ListPair.h"
#include "ui/SortedListBox.h"

class ListPairTest : public ::testing::Test {
protected:
    void SetUp() override {
        LstON = new SortedListBox(&window);
        LstOFF = new SortedListBox(&window);
        LblON = new QLabel(&window);
        LblOFF = new QLabel(&window);
        CmdListDWG = new QPushButton(QStringLiteral("図面に反映"), &window);
        CmdListDWG->setEnabled(false);
        pair = std::make_unique<ListPair>(LstON, LstOFF, LblON, LblOFF, CmdListDWG, [this] {
            ++captionCalls;
            LblON->setText(QString::number(LstON->count()));
            LblOFF->setText(QString::number(LstOFF->count()));
        });
    }

    void fill(const QStringList& on, const QStringList& off) { pair->pu_subListSetBoth(on, off); }

    static void select(QListWidget* list, const QStringList& names) {
        for (const QString& name : names) {
            const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << name.toStdString();
            found.first()->setSelected(true);
        }
    }

    static QStringList selected(const QListWidget* list) {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->isSelected()) {
                texts.append(list->item(row)->text());
            }
        }
        return texts;
    }

    // Both lists sorted, and no name twice across them ignoring case.
    void expectInvariant() const {
        const QStringList on = ui::items(LstON);
        const QStringList off = ui::items(LstOFF);
        EXPECT_TRUE(uitest::inCollationOrder(on));
        EXPECT_TRUE(uitest::inCollationOrder(off));
        QSet<QString> keys;
        for (const QString& name : on + off) {
            EXPECT_FALSE(keys.contains(ui::nameKey(name))) << name.toStdString();
            keys.insert(ui::nameKey(name));
        }
    }

    // The names of both lists together, by key.
    QSet<QString> allKeys() const {
        QSet<QString> keys;
        for (const QString& name : ui::items(LstON) + ui::items(LstOFF)) {
            keys.insert(ui::nameKey(name));
        }
        return keys;
    }

    QWidget window;
    SortedListBox* LstON = nullptr;
    SortedListBox* LstOFF = nullptr;
    QLabel* LblON = nullptr;
    QLabel* LblOFF = nullptr;
    QPushButton* CmdListDWG = nullptr;
    int captionCalls = 0;
    std::unique_ptr<ListPair> pair;
};
