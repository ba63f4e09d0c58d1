// The card types kept beside the editor's type list: creating and deleting a type name. A card
// stores its type's name, not a reference, so neither touches any card.

#include <optional>

#include "carddata/Text.h"
#include "editor/CardEditor.h"

namespace velkora {

void CardEditor::createType()
{
    const std::optional<std::string> name =
        input_.askText(VK_TEXT("新建类型"), VK_TEXT("请输入新建类型名称！\r\n比如：腾讯密保，网易密保，网游密保，网站密保等"),
                       false);
    if (!name)
        return;
    if (name->empty()) {
        messages_.showMessage(VK_TEXT("不能创建空类型！"), MessageIcon::Error);
        return;
    }
    if (store_.findType(*name)) {
        messages_.showMessage(VK_TEXT("类型： ") + *name + VK_TEXT(" 已经存在！"), MessageIcon::Error);
        return;
    }
    if (!store_.insertType(*name)) {
        messages_.showMessage(VK_TEXT("新建类型失败！"), MessageIcon::Error);
        return;
    }
    messages_.showMessage(VK_TEXT("新建类型完毕！"), MessageIcon::Information);
    refreshTypeList();
    selectLastType();
}

void CardEditor::removeType()
{
    const int index = view_.selectedTypeIndex();
    const std::vector<std::string> types = view_.typeEntries();
    if (index < 0 || index >= static_cast<int>(types.size())) {
        messages_.showMessage(VK_TEXT("错误命令，请选择要删除的类型。"), MessageIcon::Error);
        return;
    }
    const std::string name = types[static_cast<std::size_t>(index)];
    if (!messages_.askYesNo(VK_TEXT("是否删除类型：") + name + VK_TEXT("？")))
        return;
    if (store_.deleteType(name))
        messages_.showMessage(VK_TEXT("类型： ") + name + VK_TEXT(" 已经删除！"), MessageIcon::Information);
    else
        messages_.showMessage(VK_TEXT("类型： ") + name + VK_TEXT(" 删除失败！"), MessageIcon::Error);
    refreshTypeList();
    selectLastType();
}

void CardEditor::selectLastType()
{
    view_.selectType(static_cast<int>(view_.typeEntries().size()) - 1);
}

} // namespace velkora
