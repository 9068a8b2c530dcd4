// The menu bar: three documents, the instruction in the text editor, the information box,
// the authors' window and the phase portrait. None of them touches the model; all work
// during a run too.

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "platform/platform.h"
#include "window/form1.h"
#include "window/form2.h"
#include "window/form3.h"
#include "window/laboratory.h"
#include "window/lab_texts.h"
#include "window/placement.h"
#include "window/texts.h"

namespace sp {

void Form1::createActions()
{
    auto make = [this](const char* name, const QString& text, void (Form1::*slot)()) {
        auto* action = new QAction(text, this);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    mnuFilespravka_ = make("mnuFilespravka", texts::kSpravka, &Form1::mnuFilespravka_Click);
    mnuFilespravka2_ =
        make("mnuFilespravka2", texts::kSpravka2, &Form1::mnuFilespravka2_Click);
    mnuHelpInstruction_ =
        make("mnuHelpInstruction", texts::kInstruction, &Form1::mnuHelpInstruction_Click);
    mnuHelpUprav_ = make("mnuHelpUprav", texts::kUprav, &Form1::mnuHelpUprav_Click);
    mnuHelpAvtors_ = make("mnuHelpAvtors", texts::kAuthors, &Form1::mnuHelpAvtors_Click);
    mnuHelpAbout_ = make("mnuHelpAbout", texts::kAbout, &Form1::mnuHelpAbout_Click);
}

void Form1::createMenus()
{
    QMenu* file = menuBar()->addMenu(texts::kFileMenu);
    file->setObjectName(QStringLiteral("mnuFile"));
    file->addAction(mnuFilespravka_);
    file->addAction(mnuFilespravka2_);
    lab_->createMenus(file);

    QMenu* help = menuBar()->addMenu(texts::kHelpMenu);
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->addAction(mnuHelpInstruction_);
    help->addAction(mnuHelpUprav_);
    help->addSeparator()->setObjectName(QStringLiteral("mnuHelpSep1"));
    help->addAction(mnuHelpAvtors_);
    help->addAction(mnuHelpAbout_);
}

void Form1::mnuFilespravka_Click()
{
    openDocument(QStringLiteral("spravka.pdf"), false);
}

void Form1::mnuFilespravka2_Click()
{
    openDocument(QStringLiteral("spravka2.pdf"), false);
}

void Form1::mnuHelpInstruction_Click()
{
    openDocument(QStringLiteral("instruction.txt"), true);
}

void Form1::mnuHelpUprav_Click()
{
    openDocument(QStringLiteral("uprav.pdf"), false);
}

void Form1::mnuHelpAvtors_Click()
{
    if (!form2_)
        form2_ = new Form2(this);
    form2_->setDetails(texts::authors_text());
    form2_->move(centred_on(frameGeometry(), form2_->frameGeometry().size()));
    form2_->show();
    form2_->raise();
}

void Form1::mnuHelpAbout_Click()
{
    platform_.message(this, texts::kAboutTitle, texts::about_text());
}

void Form1::openDocument(const QString& name, bool text)
{
    const Opened opened = text ? platform_.edit_text(name) : platform_.open_document(name);
    if (opened == Opened::Missing)
        platform_.message(this, texts::kErrorTitle, lab::documentMissing(name));
    else if (opened == Opened::NoViewer)
        platform_.message(this, texts::kErrorTitle, lab::documentNoViewer(name));
}

}  // namespace sp
