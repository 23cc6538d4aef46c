"""A person rests the pointer on a tool-bar button: the button's tip shows
and the status bar gives the command's prompt; moving off the bar puts
"Ready" back; a highlighted menu item shows its prompt there as well."""
import journey

BAR_CLASS = "AfxControlBar42"
# The Main bar's first button (Help Topics), past the bar's gripper.
FIRST_BUTTON = (25, 12)


def run(j):
    zym, main = j.start_zym_past_tip()
    bar = j.wait_for(lambda: j.find(exe="zym.exe", cls=BAR_CLASS, text="^Main$"), 10, "the Main bar")
    j.move(bar, *FIRST_BUTTON)
    j.move(bar, FIRST_BUTTON[0] + 1, FIRST_BUTTON[1])
    j.wait_for(lambda: j.find(exe="zym.exe", cls="tooltips_class32", text="^Help Topics$"), 10,
               "the tip \"Help Topics\"")
    j.wait_for(lambda: j.find(exe="zym.exe", text="^Open the help topics$", within=main), 5,
               "the prompt in the status bar")
    j.screenshot("tip")
    j.move(main, main.w // 2, main.h // 2)
    j.wait_for(lambda: j.find(exe="zym.exe", text="^Ready$", within=main), 5, "\"Ready\" in the status bar")
    # A menu title is no command: the idle prompt stays.
    menu_bar = j.find(exe="zym.exe", cls=BAR_CLASS, text="^Menu bar$")
    j.move(menu_bar, 45, menu_bar.h // 2)
    j.move(menu_bar, 46, menu_bar.h // 2)
    j.expect_none(lambda: not j.find(exe="zym.exe", text="^Ready$", within=main), 2,
                  "the status bar loses \"Ready\" over a menu title")
    # A highlighted menu item puts its prompt there too.
    j.key("alt+l")
    j.key("Down")
    j.wait_for(lambda: j.find(exe="zym.exe", text="^Get lyrics from the web for selected items$", within=main), 5,
               "the menu item's prompt in the status bar")
    j.screenshot("menu")
    j.key("Escape")
    j.key("Escape")
    j.key("alt+F4")
    zym.wait_exit(20)


journey.main(run)
