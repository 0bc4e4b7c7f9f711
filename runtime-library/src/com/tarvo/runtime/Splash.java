package com.tarvo.runtime;

/**
 * Steers the splash screen the launcher shows while the application starts: its own native
 * window, or the runtime's splash screen when the configuration asks for that. Both calls are
 * safe from any thread and do nothing harmful when no splash is showing.
 */
public final class Splash {

    private Splash() {
    }

    /** Replaces the status line. Null clears it. */
    public static void setStatusText(String text) {
        String line = text == null ? "" : text;
        TarvoController.offerText(line);
        AwtSplash.setStatusText(line);
    }

    /** Closes the splash screen for good. */
    public static void close() {
        TarvoController.requestClose();
        AwtSplash.close();
    }
}
