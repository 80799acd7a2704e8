// Typing Russian letters through xdotool on a virtual X screen, for the end-to-end tests.
#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <xcb/xcb.h>

// The Russian letters of a text on spare keys of their own while this lives: xdotool's own typing
// binds a missing letter to a spare key for the press alone, and a program reading the keymap
// late loses the letter.
class RussianKeys {
  public:
    explicit RussianKeys(const QString& text) : conn(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(conn)) return;
        QString letters;
        for (QChar c : text.toLower())
            if (kOrder.contains(c) && !letters.contains(c)) letters += c;
        const xcb_setup_t* setup = xcb_get_setup(conn);
        const int first = setup->min_keycode, last = setup->max_keycode;
        auto* map = xcb_get_keyboard_mapping_reply(
            conn, xcb_get_keyboard_mapping(conn, setup->min_keycode, last - first + 1), nullptr);
        if (!map) return;
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
        for (int code = last; code >= first && qsizetype(codes.size()) < letters.size(); --code) {
            const xcb_keysym_t* own = syms + (code - first) * map->keysyms_per_keycode;
            if (std::any_of(own, own + map->keysyms_per_keycode, [](auto s) { return s != 0; }))
                continue;
            const QChar letter = letters[qsizetype(codes.size())];
            // X's Cyrillic keysyms: lower case from 0x6c0 in kOrder's order, capitals 0x20 on.
            const xcb_keysym_t lower = 0x6c0 + xcb_keysym_t(kOrder.indexOf(letter));
            const xcb_keysym_t bound[2] = {lower, lower + 0x20};
            xcb_change_keyboard_mapping(conn, 1, xcb_keycode_t(code), 2, bound);
            codes[letter] = xcb_keycode_t(code);
        }
        std::free(map);
        ready = qsizetype(codes.size()) == letters.size();
        std::free(xcb_get_input_focus_reply(conn, xcb_get_input_focus(conn), nullptr));
    }
    ~RussianKeys() {
        const xcb_keysym_t none[2] = {0, 0};
        for (const auto& [letter, code] : codes)
            xcb_change_keyboard_mapping(conn, 1, code, 2, none);
        xcb_flush(conn);
        xcb_disconnect(conn);
    }
    RussianKeys(const RussianKeys&) = delete;
    RussianKeys& operator=(const RussianKeys&) = delete;

    bool isReady() const { return ready; }
    // The xdotool key ("shift+93") for one of the letters; empty for any other character.
    QString keyOf(QChar c) const {
        const auto bound = codes.find(c.toLower());
        if (bound == codes.end()) return {};
        const QString code = QString::number(bound->second);
        return c.isUpper() ? QStringLiteral("shift+") + code : code;
    }
    // The window the keys go to.
    std::uint32_t inputFocus() const {
        auto* reply = xcb_get_input_focus_reply(conn, xcb_get_input_focus(conn), nullptr);
        const std::uint32_t focus = reply ? reply->focus : 0;
        std::free(reply);
        return focus;
    }
    // The xdotool keys that type `text`, of blanks and the letters.
    QStringList keysOf(const QString& text) const {
        QStringList keys;
        for (QChar c : text)
            keys << (c == ' ' ? QStringLiteral("space") : keyOf(c));
        return keys;
    }

  private:
    static inline const QString kOrder = QStringLiteral("юабцдефгхийклмнопярстужвьызшэщчъ");
    xcb_connection_t* conn;
    std::map<QChar, xcb_keycode_t> codes;
    bool ready = false;
};
