package com.quillmote.runtime.launcher;

/**
 * The quillmote flavour's entry class. It behaves exactly like the tarvo one, which does the work.
 */
public final class WinLauncher {

    private WinLauncher() {
    }

    /** See {@link com.tarvo.runtime.WinLauncher#main(String[])}. */
    public static void main(String[] args) throws Exception {
        com.tarvo.runtime.WinLauncher.main(args);
    }
}
