// Wraps: NSRunningApplication and NSWorkspace (where the application with a bundle identifier runs
// or is installed), NSBundle (its localizations and the strings files and localizable tables in its
// resources), NSFileHandle and NSPropertyListSerialization (a strings file or table in any of its
// formats: binary, XML or the text "key" = "value"; form) and NSLocale's preferred languages.
// Leaves out: plural and variant tables (.stringsdict, and the variants inside a table), the
// strings of the application's embedded frameworks and plug-ins, and change notifications (the
// core reads the table once per Notification Center process).
#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mac/foundation_values.h"
#include "mac/services.h"
#include "platform/bundle_strings.h"

namespace marlowick::mac {
namespace {

namespace p = marlowick::platform;

// Another application's files are read as untrusted: at most this many languages, files a
// language, bytes a file and strings in all, and no key or text longer than a label could be.
constexpr NSUInteger kMaxLanguages = 200;
constexpr NSUInteger kMaxFilesPerLanguage = 64;
constexpr NSUInteger kMaxFileBytes = 4 * 1024 * 1024;
constexpr std::size_t kMaxStrings = 500'000;
constexpr NSUInteger kMaxStringLength = 1024;
constexpr NSUInteger kMaxPreferredLanguages = 32;

// Keys are qualified by their table, since two tables may use one key for different texts; the
// core pairs an English text with its translation by key, so the qualification only needs to be
// the same in every language.
std::string qualifiedKey(NSString* table, NSString* key) {
    return toString(table) + "/" + toString(key);
}

// Whether the identifier begins with a two- or three-letter language code and holds only letters,
// digits, hyphens and underscores. The canonical form of anything else (a table's "LocProvenance"
// entry, a stray folder's name) is no language.
bool isLanguageIdentifier(std::string_view code) {
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    auto subtagCharacter = [&](char c) {
        return letter(c) || (c >= '0' && c <= '9') || c == '-' || c == '_';
    };
    const std::string_view language = code.substr(0, code.find_first_of("-_"));
    return language.size() >= 2 && language.size() <= 3 &&
           std::all_of(language.begin(), language.end(), letter) &&
           std::all_of(code.begin(), code.end(), subtagCharacter);
}

// A language as the core names it ("de", "zh-Hans", "en"), from a localization's folder name,
// which older bundles spell as a language's English name ("German.lproj"). Base holds the
// development language's interface files, not a language of its own.
std::optional<std::string> languageCode(NSString* _Nullable localization) {
    if (![localization isKindOfClass:NSString.class] || localization.length == 0 ||
        localization.length > kMaxStringLength || [localization isEqualToString:@"Base"])
        return std::nullopt;
    std::string code = toString([NSLocale canonicalLanguageIdentifierFromString:localization]);
    if (!isLanguageIdentifier(code)) return std::nullopt;
    return code;
}

// The property list in the file, if it is a dictionary of a bounded size. At most one byte past
// the bound is read, so a huge file costs no more than a small one.
NSDictionary* _Nullable dictionaryIn(NSURL* file) {
    NSFileHandle* handle = [NSFileHandle fileHandleForReadingFromURL:file error:nil];
    NSData* data = [handle readDataUpToLength:kMaxFileBytes + 1 error:nil];
    [handle closeAndReturnError:nil];
    if (!data || data.length > kMaxFileBytes) return nil;
    id list = [NSPropertyListSerialization propertyListWithData:data
                                                        options:NSPropertyListImmutable
                                                         format:nullptr
                                                          error:nil];
    return [list isKindOfClass:NSDictionary.class] ? static_cast<NSDictionary*>(list) : nil;
}

// Takes the plain strings of one table in one language; variant entries (dictionaries) and
// anything not a string are left out.
void addStrings(std::map<std::string, std::string>& strings, NSString* table, NSDictionary* entries,
                std::size_t& total) {
    [entries enumerateKeysAndObjectsUsingBlock:^(id key, id text, BOOL* stop) {
      if (total >= kMaxStrings) {
          *stop = YES;
          return;
      }
      if (![key isKindOfClass:NSString.class] || ![text isKindOfClass:NSString.class]) return;
      NSString* keyString = key;
      NSString* textString = text;
      if (keyString.length > kMaxStringLength || textString.length > kMaxStringLength) return;
      strings[qualifiedKey(table, keyString)] = toString(textString);
      ++total;
    }];
}

NSString* tableName(NSURL* file) {
    NSString* name = file.URLByDeletingPathExtension.lastPathComponent;
    return name ? name : @"";
}

// Whether the file lies in the localization's own folder ("de.lproj").
bool inLocalizationFolder(NSURL* file, NSString* localization) {
    NSString* folder = file.URLByDeletingLastPathComponent.lastPathComponent;
    NSString* wanted = [localization stringByAppendingPathExtension:@"lproj"];
    return folder && wanted && [folder isEqualToString:wanted];
}

// The strings files of each localization folder ("de.lproj/Localizable.strings"). Asked for one
// localization, the bundle also lists its global resources, which are in no language.
void readStringsFiles(NSBundle* bundle, p::StringsTable& table, std::size_t& total) {
    NSArray<NSString*>* localizations = bundle.localizations;
    const NSUInteger languages = std::min(localizations.count, kMaxLanguages);
    for (NSUInteger i = 0; i < languages && total < kMaxStrings; ++i) {
        NSString* localization = localizations[i];
        auto language = languageCode(localization);
        if (!language) continue;
        NSArray<NSURL*>* files = [bundle URLsForResourcesWithExtension:@"strings"
                                                          subdirectory:nil
                                                          localization:localization];
        NSUInteger read = 0;
        for (NSUInteger f = 0; f < files.count && read < kMaxFilesPerLanguage; ++f) {
            if (!inLocalizationFolder(files[f], localization)) continue;
            ++read;
            NSDictionary* entries = dictionaryIn(files[f]);
            if (entries) addStrings(table.languages[*language], tableName(files[f]), entries, total);
        }
    }
}

// Localizable tables: one file for all languages, a dictionary of languages each holding its
// strings ("Localizable.loctable"), as newer system applications ship them.
void readLocalizableTables(NSBundle* bundle, p::StringsTable& table, std::size_t& total) {
    NSArray<NSURL*>* files = [bundle URLsForResourcesWithExtension:@"loctable" subdirectory:nil];
    const NSUInteger count = std::min(files.count, kMaxFilesPerLanguage);
    for (NSUInteger f = 0; f < count && total < kMaxStrings; ++f) {
        NSDictionary* byLanguage = dictionaryIn(files[f]);
        NSString* name = tableName(files[f]);
        __block NSUInteger languages = 0;
        [byLanguage enumerateKeysAndObjectsUsingBlock:^(id localization, id entries, BOOL* stop) {
          if (++languages > kMaxLanguages || total >= kMaxStrings) {
              *stop = YES;
              return;
          }
          // The table's bookkeeping entries ("LocProvenance") are no language.
          auto language = languageCode(localization);
          if (!language || ![entries isKindOfClass:NSDictionary.class]) return;
          addStrings(table.languages[*language], name, entries, total);
        }];
    }
}

// The running copy's bundle first: Launch Services may prefer another copy it knows (on another
// system's volume, say), and the strings wanted are those of the process that shows them.
NSURL* _Nullable applicationLocation(NSString* identifier) {
    NSArray<NSRunningApplication*>* running =
        [NSRunningApplication runningApplicationsWithBundleIdentifier:identifier];
    for (NSRunningApplication* application in running) {
        if (NSURL* location = application.bundleURL) return location;
    }
    return [NSWorkspace.sharedWorkspace URLForApplicationWithBundleIdentifier:identifier];
}

class MacBundleStrings final : public p::BundleStrings {
public:
    std::optional<p::StringsTable> stringsTable(std::string_view bundleIdentifier) override {
        NSString* identifier = toNSString(bundleIdentifier);
        if (!identifier) return std::nullopt;
        NSURL* location = applicationLocation(identifier);
        NSBundle* bundle = location ? [NSBundle bundleWithURL:location] : nil;
        if (!bundle) return std::nullopt;
        p::StringsTable table;
        std::size_t total = 0;
        readStringsFiles(bundle, table, total);
        readLocalizableTables(bundle, table, total);
        std::erase_if(table.languages, [](const auto& language) { return language.second.empty(); });
        if (table.languages.empty()) return std::nullopt;
        return table;
    }

    std::vector<std::string> preferredLanguages() override {
        NSArray<NSString*>* languages = NSLocale.preferredLanguages;
        std::vector<std::string> out;
        const NSUInteger count = std::min(languages.count, kMaxPreferredLanguages);
        for (NSUInteger i = 0; i < count; ++i) {
            NSString* language = languages[i];
            if ([language isKindOfClass:NSString.class] && language.length <= kMaxStringLength)
                out.push_back(toString(language));
        }
        return out;
    }
};

} // namespace

std::unique_ptr<platform::BundleStrings> makeBundleStrings() {
    return std::make_unique<MacBundleStrings>();
}

} // namespace marlowick::mac
