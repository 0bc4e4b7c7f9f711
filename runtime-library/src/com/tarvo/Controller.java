package com.tarvo;

import java.util.ArrayList;
import java.util.LinkedList;
import java.util.List;

/**
 * Hands later starts of a single-instance application to the running one. The launcher calls
 * {@link #startupPerformed(String)}; the application registers a {@link StartupListener}.
 *
 * <p>Starts that arrive while no listener is registered are kept and delivered, in order, as soon
 * as one is. Each start is delivered once, to every listener registered at that moment, and
 * starts are never delivered out of order, even when they arrive on several threads.
 */
public final class Controller {

    private static final Object LOCK = new Object();
    private static final List<StartupListener> LISTENERS = new ArrayList<StartupListener>();
    /** Starts not yet delivered; null entries are starts without arguments. */
    private static final LinkedList<String> PENDING = new LinkedList<String>();
    /** Whether some thread is delivering; only that thread takes from PENDING. */
    private static boolean delivering;

    private Controller() {
    }

    /**
     * Called by the launcher once per later start, from a native daemon thread.
     *
     * @param commandLine the later start's command-line tail, or null when it had none
     */
    public static void startupPerformed(String commandLine) {
        synchronized (LOCK) {
            PENDING.addLast(commandLine);
            if (!claimDelivery()) {
                return;
            }
        }
        deliverPending();
    }

    /** Registers a listener and hands it the starts that arrived before any listener existed. */
    public static void addStartupListener(StartupListener listener) {
        if (listener == null) {
            throw new NullPointerException("listener");
        }
        synchronized (LOCK) {
            LISTENERS.add(listener);
            if (!claimDelivery()) {
                return;
            }
        }
        deliverPending();
    }

    /** Removes a listener. With none left, later starts are kept again until the next one. */
    public static void removeStartupListener(StartupListener listener) {
        synchronized (LOCK) {
            LISTENERS.remove(listener);
        }
    }

    /** Caller holds LOCK. True when the caller became the delivering thread. */
    private static boolean claimDelivery() {
        if (delivering || LISTENERS.isEmpty() || PENDING.isEmpty()) {
            return false;
        }
        delivering = true;
        return true;
    }

    /** Listeners run outside the lock, so a slow or re-entrant one blocks no caller. */
    private static void deliverPending() {
        boolean released = false;
        try {
            while (true) {
                String commandLine;
                List<StartupListener> targets;
                synchronized (LOCK) {
                    if (LISTENERS.isEmpty() || PENDING.isEmpty()) {
                        delivering = false;
                        released = true;
                        return;
                    }
                    commandLine = PENDING.removeFirst();
                    targets = new ArrayList<StartupListener>(LISTENERS);
                }
                for (StartupListener listener : targets) {
                    try {
                        listener.startupPerformed(commandLine);
                    } catch (Throwable t) {
                        // One failing listener must not cost the others their starts.
                        t.printStackTrace();
                    }
                }
            }
        } finally {
            if (!released) {
                // Whatever escaped, the next caller must be able to deliver again.
                synchronized (LOCK) {
                    delivering = false;
                }
            }
        }
    }
}
