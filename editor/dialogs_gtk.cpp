// GTK 3 dialogs: the file chooser and the modal notices.
#include <gtk/gtk.h>

#include <cstring>

#include "dialogs.h"

// Lets GTK finish unmapping a dialog: GLUT, not GTK, runs the main loop.
static void flushGtk()
{
    while (gtk_events_pending())
        gtk_main_iteration();
}

static int gtkChooseFile(FileChoice purpose, char *name, size_t size)
{
    // Load opens an existing file. Save needs a name the user can type, which
    // GTK's open chooser refuses for files that do not exist yet; its save
    // chooser takes it, with the same filter and folder, no overwrite prompt
    // and no extension added.
    const bool load = purpose == ChooseToLoad;
    GtkWidget *dialog = gtk_file_chooser_dialog_new(
        load ? "Load mirl object" : "Save mirl object", nullptr,
        load ? GTK_FILE_CHOOSER_ACTION_OPEN : GTK_FILE_CHOOSER_ACTION_SAVE, "_Cancel",
        GTK_RESPONSE_CANCEL, load ? "_Open" : "_Save", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser *chooser = GTK_FILE_CHOOSER(dialog);
    GtkFileFilter *filter = gtk_file_filter_new();
    gtk_file_filter_set_name(filter, "mirl objects");
    gtk_file_filter_add_pattern(filter, "*.mrl");
    gtk_file_chooser_add_filter(chooser, filter);
    gtk_file_chooser_set_select_multiple(chooser, FALSE);
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, FALSE);
    gchar *cwd = g_get_current_dir();
    gtk_file_chooser_set_current_folder(chooser, cwd);
    g_free(cwd);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);

    int chosen = 0;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        gchar *file = gtk_file_chooser_get_filename(chooser);
        if (file && std::strlen(file) < size) {
            std::strcpy(name, file);
            chosen = 1;
        }
        g_free(file);
    }
    gtk_widget_destroy(dialog);
    flushGtk();
    return chosen;
}

static void gtkNotice(const char *title, const char *text)
{
    GtkWidget *dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR, GTK_BUTTONS_OK,
                                               "%s", text);
    gtk_window_set_title(GTK_WINDOW(dialog), title);
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    flushGtk();
}

static const DialogBackend GtkDialogs = {gtkChooseFile, gtkNotice};

const DialogBackend *systemDialogs()
{
    static int state; // 0 untried, 1 ready, -1 unavailable
    if (state == 0) {
        // Without a session bus GSettings cannot store the chooser's
        // preferences and warns at every change; keep them in memory.
        if (!g_getenv("DBUS_SESSION_BUS_ADDRESS"))
            g_setenv("GSETTINGS_BACKEND", "memory", FALSE);
        state = gtk_init_check(nullptr, nullptr) ? 1 : -1;
    }
    return state == 1 ? &GtkDialogs : nullptr;
}
