package com.tarvo;

/** Told about each later start of a single-instance application. */
public interface StartupListener {

    /**
     * Called once per later start, in the order the starts arrived, on a thread of the runtime
     * library's choosing (not the event dispatch thread).
     *
     * @param commandLine the later start's arguments as one command-line text, or null when it
     *     had none
     */
    void startupPerformed(String commandLine);
}
