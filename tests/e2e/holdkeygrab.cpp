// SPDX-License-Identifier: GPL-3.0-or-later
// Another X client that holds a passive grab of Ctrl+Alt+G on the root window until it is killed, as a
// program that took the combination first would. Says "grabbed" on standard output once it holds it.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main()
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 1;
    const xcb_setup_t *setup = xcb_get_setup(c);
    const xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
    xcb_get_keyboard_mapping_reply_t *map = xcb_get_keyboard_mapping_reply(
        c, xcb_get_keyboard_mapping(c, setup->min_keycode, setup->max_keycode - setup->min_keycode + 1), nullptr);
    const xcb_keysym_t *symbols = xcb_get_keyboard_mapping_keysyms(map);
    xcb_keycode_t keycode = 0;
    for (int i = 0; !keycode && i < xcb_get_keyboard_mapping_keysyms_length(map); ++i) {
        if (symbols[i] == 'g')
            keycode = xcb_keycode_t(setup->min_keycode + i / map->keysyms_per_keycode);
    }
    std::free(map);
    xcb_generic_error_t *error = xcb_request_check(c,
        xcb_grab_key_checked(
            c, true, root, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1, keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    if (!keycode || error)
        return 1;
    std::puts("grabbed");
    std::fflush(stdout);
    while (xcb_generic_event_t *event = xcb_wait_for_event(c))
        std::free(event);
    return 0;
}
