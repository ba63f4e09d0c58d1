#include "platform/qt/QtCardEditorOpener.h"

#include "editor/CardEditor.h"
#include "platform/qt/CardEditorWindow.h"

namespace velkora {

QtCardEditorOpener::QtCardEditorOpener(CardStore& store, MessageService& messages, InputBox& input)
    : store_(store), messages_(messages), input_(input)
{
}

void QtCardEditorOpener::openCardEditor(EditorMode mode, const std::string& account)
{
    CardEditorWindow window(parent_);
    CardEditor editor(window, store_, messages_, input_, reload_);
    window.connectBehaviour(editor);
    editor.open(mode, account);
    window.exec();
}

} // namespace velkora
