// Notification Center's action labels as shipped in the languages known here, for a Mac whose
// Notification Center bundle cannot be read.
#include <array>

#include "notificationcenter/action_labels.h"

namespace marlowick {

namespace {

struct Known {
    std::string_view language;
    std::string_view close;
    std::string_view clearAll;
    std::string_view show;
};

constexpr Known kKnown[] = {
    {"en", "Close", "Clear All", "Show"},           {"de", "Schließen", "Alle entfernen", "Anzeigen"},
    {"fr", "Fermer", "Tout effacer", "Afficher"},   {"es", "Cerrar", "Borrar todo", "Mostrar"},
    {"pt", "Fechar", "Limpar Tudo", "Mostrar"},     {"it", "Chiudi", "Cancella tutto", "Mostra"},
    {"nl", "Sluit", "Wis alles", "Toon"},           {"sv", "Stäng", "Rensa alla", "Visa"},
    {"pl", "Zamknij", "Wyczyść wszystko", "Pokaż"}, {"ru", "Закрыть", "Очистить все", "Показать"},
    {"ja", "閉じる", "すべてを消去", "表示"},       {"ko", "닫기", "모두 지우기", "보기"},
    {"zh-Hans", "关闭", "全部清除", "显示"},
};

void addOnce(std::vector<std::string>& labels, std::string_view label) {
    for (const auto& known : labels) {
        if (known == label) return;
    }
    labels.emplace_back(label);
}

} // namespace

ActionLabels knownLabels(std::span<const std::string> preferred) {
    std::vector<std::string> languages;
    for (const auto& known : kKnown)
        languages.emplace_back(known.language);
    auto language = chooseLanguage(preferred, languages).value_or("en");
    ActionLabels labels;
    labels.language = language;
    for (const auto& known : kKnown) {
        if (known.language != language) continue;
        addOnce(labels.close, known.close);
        addOnce(labels.clearAll, known.clearAll);
        addOnce(labels.show, known.show);
    }
    addOnce(labels.close, "Close");
    addOnce(labels.clearAll, "Clear All");
    addOnce(labels.show, "Show");
    return labels;
}

} // namespace marlowick
