package com.tarvo.runtime;

/**
 * The class the native launcher calls once the VM exists. The quillmote flavour's launcher class
 * delegates its {@code main} here; {@link #initAwtSplashConfig} is called in both flavours.
 */
public final class WinLauncher {

    private WinLauncher() {
    }

    /**
     * Starts the application.
     *
     * @param args {@code [0]} "true" for a GUI application, {@code [1]} the application's main
     *     class, {@code [2]} the error-log file (empty for none), {@code [3]} the output-log file
     *     (empty for none), {@code [4]} "true" to append to the log files, {@code [5]} the program
     *     path as written on the command line, {@code [6..]} the application's arguments
     * @throws Exception whatever the application's main throws, unchanged, or a clear error when
     *     the main class or its main method cannot be found
     */
    public static void main(String[] args) throws Exception {
        Launch.run(args);
    }

    /**
     * Receives the splash layout when the runtime's own splash screen is in use, and draws the
     * status and version lines on it. Does nothing without a showing splash; never throws.
     */
    public static void initAwtSplashConfig(boolean splashInUse, boolean drawTexts,
            String statusText, int statusX, int statusY, String statusColour,
            int statusFontSize, int statusFontWeight,
            String versionText, int versionX, int versionY, String versionColour,
            int versionFontSize, int versionFontWeight) {
        AwtSplash.configure(splashInUse, drawTexts,
                new AwtSplash.TextLine(statusText, statusX, statusY, statusColour,
                        statusFontSize, statusFontWeight),
                new AwtSplash.TextLine(versionText, versionX, versionY, versionColour,
                        versionFontSize, versionFontWeight));
    }
}
