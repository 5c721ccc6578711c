#include "sim/notification_center_strings.h"

#include <algorithm>
#include <array>

namespace marlowick::sim {

namespace {

constexpr std::size_t kLabelCount = 8;

struct Language {
    std::string_view code;
    // In the order of NCLabel.
    std::array<std::string_view, kLabelCount> texts;
};

// The keys are the bundle's own; a reader finds a label by the key's English text.
constexpr std::array<std::string_view, kLabelCount> kKeys = {"NOTIFICATION_ACTION_CLOSE",
                                                             "NOTIFICATION_ACTION_CLEAR_ALL",
                                                             "NOTIFICATION_ACTION_SHOW",
                                                             "NOTIFICATION_ACTION_DETAILS",
                                                             "GROUP_SHOW_LESS",
                                                             "GROUP_CLEAR",
                                                             "HISTORY_OLDER_NOTIFICATIONS",
                                                             "WIDGETS_EDIT"};

constexpr Language kLanguages[] = {
    {"en",
     {"Close", "Clear All", "Show", "Show Details", "Show Less", "Clear", "Older Notifications",
      "Edit Widgets"}},
    {"de",
     {"Schließen", "Alle entfernen", "Anzeigen", "Details einblenden", "Weniger anzeigen", "Entfernen",
      "Ältere Mitteilungen", "Widgets bearbeiten"}},
    {"fr",
     {"Fermer", "Tout effacer", "Afficher", "Afficher les détails", "Afficher moins", "Effacer",
      "Notifications plus anciennes", "Modifier les widgets"}},
    {"es",
     {"Cerrar", "Borrar todo", "Mostrar", "Mostrar detalles", "Mostrar menos", "Borrar",
      "Notificaciones anteriores", "Editar widgets"}},
    {"pt",
     {"Fechar", "Limpar Tudo", "Mostrar", "Mostrar Detalhes", "Mostrar Menos", "Limpar",
      "Notificações Anteriores", "Editar Widgets"}},
    {"it",
     {"Chiudi", "Cancella tutto", "Mostra", "Mostra dettagli", "Mostra meno", "Cancella",
      "Notifiche precedenti", "Modifica widget"}},
    {"nl",
     {"Sluit", "Wis alles", "Toon", "Toon details", "Toon minder", "Wis", "Oudere meldingen",
      "Wijzig widgets"}},
    {"sv",
     {"Stäng", "Rensa alla", "Visa", "Visa detaljer", "Visa mindre", "Rensa", "Äldre notiser",
      "Redigera widgetar"}},
    {"pl",
     {"Zamknij", "Wyczyść wszystko", "Pokaż", "Pokaż szczegóły", "Pokaż mniej", "Wyczyść",
      "Starsze powiadomienia", "Edytuj widżety"}},
    {"ru",
     {"Закрыть", "Очистить все", "Показать", "Показать подробности", "Показать меньше", "Очистить",
      "Более ранние уведомления", "Изменить виджеты"}},
    {"ja",
     {"閉じる", "すべてを消去", "表示", "詳細を表示", "表示を減らす", "消去", "以前の通知",
      "ウィジェットを編集"}},
    {"ko",
     {"닫기", "모두 지우기", "보기", "세부사항 보기", "간략히 보기", "지우기", "이전 알림", "위젯 편집"}},
    {"zh-Hans", {"关闭", "全部清除", "显示", "显示详细信息", "显示较少", "清除", "较早的通知", "编辑小组件"}},
};

const Language* shipped(std::string_view code) {
    for (const auto& language : kLanguages) {
        if (language.code == code) return &language;
    }
    return nullptr;
}

} // namespace

const std::vector<std::string>& NotificationCenterStrings::shippedLanguages() {
    static const std::vector<std::string> codes = [] {
        std::vector<std::string> all;
        for (const auto& language : kLanguages)
            all.emplace_back(language.code);
        return all;
    }();
    return codes;
}

bool NotificationCenterStrings::ships(std::string_view language) {
    return shipped(language) != nullptr;
}

bool NotificationCenterStrings::setLanguage(std::string_view language) {
    if (!ships(language)) return false;
    language_ = std::string(language);
    custom_.reset();
    return true;
}

void NotificationCenterStrings::setCustomLanguage(std::string language, std::string close,
                                                  std::string clearAll, std::string show) {
    language_ = std::move(language);
    custom_ = Custom{std::move(close), std::move(clearAll), std::move(show)};
}

std::string NotificationCenterStrings::label(NCLabel label) const {
    if (custom_) {
        if (label == NCLabel::Close) return custom_->close;
        if (label == NCLabel::ClearAll) return custom_->clearAll;
        if (label == NCLabel::Show) return custom_->show;
    }
    const Language* language = shipped(language_);
    if (!language) language = &kLanguages[0];
    return std::string(language->texts[static_cast<std::size_t>(label)]);
}

platform::StringsTable NotificationCenterStrings::table() const {
    platform::StringsTable table;
    for (const auto& language : kLanguages) {
        auto& strings = table.languages[std::string(language.code)];
        for (std::size_t i = 0; i < kLabelCount; ++i)
            strings[std::string(kKeys[i])] = std::string(language.texts[i]);
    }
    if (custom_) {
        auto& strings = table.languages[language_];
        strings = table.languages["en"];
        strings[std::string(kKeys[static_cast<std::size_t>(NCLabel::Close)])] = custom_->close;
        strings[std::string(kKeys[static_cast<std::size_t>(NCLabel::ClearAll)])] = custom_->clearAll;
        strings[std::string(kKeys[static_cast<std::size_t>(NCLabel::Show)])] = custom_->show;
    }
    return table;
}

} // namespace marlowick::sim
