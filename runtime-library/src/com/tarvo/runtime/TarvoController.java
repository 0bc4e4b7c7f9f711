package com.tarvo.runtime;

/**
 * What the launcher's native splash window asks for every 100 ms. Applications do not call this
 * class; they use {@link Splash}.
 */
public final class TarvoController {

    /** Nothing to do. */
    public static final int NO_ACTION = 0;
    /** Close the splash window. */
    public static final int CLOSE = 1;
    /** A new status text is ready; fetch it with {@link #getText()}. */
    public static final int NEW_TEXT = 2;

    private static boolean closeRequested;
    private static boolean textPending;
    private static String pendingText;

    private TarvoController() {
    }

    /** The next thing the splash window should do. A close request wins over a pending text. */
    public static synchronized int getAction() {
        if (closeRequested) {
            // Stays set: a closed splash is never shown again.
            return CLOSE;
        }
        return textPending ? NEW_TEXT : NO_ACTION;
    }

    /** The newest status text, once; null when none is waiting. */
    public static synchronized String getText() {
        if (!textPending) {
            return null;
        }
        String text = pendingText;
        textPending = false;
        pendingText = null;
        return text;
    }

    static synchronized void offerText(String text) {
        pendingText = text;
        textPending = true;
    }

    static synchronized void requestClose() {
        closeRequested = true;
    }

    /** Back to the initial state; for tests. */
    static synchronized void reset() {
        closeRequested = false;
        textPending = false;
        pendingText = null;
    }
}
