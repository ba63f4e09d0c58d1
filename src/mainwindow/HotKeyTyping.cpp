#include "mainwindow/HotKeyTyping.h"

#include "carddata/CardGrid.h"
#include "carddata/CoordinateLookup.h"
#include "mainwindow/QueryPanel.h"
#include "mainwindow/TypingOptions.h"

namespace velkora {

HotKeyTyping::HotKeyTyping(HotKeyRegistrar& registrar, KeyTyper& typer, EventPump& pump, ToggledWindow& window,
                           LoadedCard& card, const TypingOptions& options)
    : registrar_(registrar), typer_(typer), pump_(pump), window_(window), card_(card), options_(options)
{
}

bool HotKeyTyping::bindHotKey(std::uint32_t modifiers, std::uint32_t virtualKey, std::function<void()> callback)
{
    const int id = static_cast<int>(table_.size()) + 1;
    if (!registrar_.registerHotKey(id, modifiers, virtualKey))
        return false;
    table_.push_back({modifiers, virtualKey, std::move(callback)});
    return true;
}

bool HotKeyTyping::dispatchHotKey(int id)
{
    if (id < 1 || static_cast<std::size_t>(id) > table_.size())
        return false;
    // A copy: the callback may wait processing events, during which the table could grow.
    const std::function<void()> callback = table_[static_cast<std::size_t>(id) - 1].callback;
    if (callback)
        callback();
    return true;
}

void HotKeyTyping::toggleMainWindow()
{
    if (window_.isVisible())
        window_.hide();
    else
        window_.show();
}

void HotKeyTyping::typeResult()
{
    if (card_.resultText == ResultPlaceholder)
        return;
    if (!options_.fullInput()) {
        typeNextAnswer();
        return;
    }
    const int pause = options_.pauseMs();
    const int times = card_.queriedCount;
    for (int i = 0; i < times; ++i) {
        // A reset or another card loaded during a pause leaves no answers: stop rather than type
        // the placeholder's dashes into the other program.
        if (card_.resultText == ResultPlaceholder)
            return;
        typeNextAnswer();
        if (pause > 0)
            pump_.waitProcessingEvents(pause);
    }
}

void HotKeyTyping::typeNextAnswer()
{
    ++card_.nextValue;
    const std::vector<std::string> answers = splitText(card_.resultText, "\r\n\r\n");
    const int index = card_.nextValue - 1;
    // The counter is settled before typing, so that a press handled while typing goes on from here.
    // ">=" rather than "==": should the queried count shrink under a running cycle, the counter
    // still comes back to the first answer.
    if (card_.nextValue >= card_.queriedCount)
        card_.nextValue = 0;
    if (index >= 0 && static_cast<std::size_t>(index) < answers.size())
        typer_.typeText(answers[static_cast<std::size_t>(index)]);
}

} // namespace velkora
