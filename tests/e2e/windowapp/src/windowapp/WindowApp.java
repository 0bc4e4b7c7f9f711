package windowapp;

import java.awt.event.WindowAdapter;
import java.awt.event.WindowEvent;
import java.io.FileOutputStream;
import java.io.IOException;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import javax.swing.JFrame;
import javax.swing.JLabel;
import javax.swing.SwingConstants;
import javax.swing.SwingUtilities;
import javax.swing.WindowConstants;

/**
 * A Swing application for the end-to-end tests of a real window: one frame titled "Window Probe".
 * It appends "shown JAVA_VERSION" to the file named by the system property windowapp.record once
 * the frame is on screen and "closed" once it has been closed and disposed. Disposing the only
 * frame lets AWT shut its threads down, so the VM (and the launcher waiting in DestroyJavaVM)
 * ends by itself with nothing keeping it alive.
 */
public final class WindowApp {
    static final String TITLE = "Window Probe";

    private WindowApp() {
    }

    public static void main(String[] args) throws Exception {
        final String record = System.getProperty("windowapp.record");
        if (record == null) {
            throw new IllegalStateException("windowapp.record is not set");
        }
        SwingUtilities.invokeAndWait(new Runnable() {
            @Override
            public void run() {
                JFrame frame = new JFrame(TITLE);
                frame.setDefaultCloseOperation(WindowConstants.DISPOSE_ON_CLOSE);
                frame.add(new JLabel("Close me", SwingConstants.CENTER));
                frame.setSize(300, 200);
                frame.setLocation(100, 100);
                frame.addWindowListener(new WindowAdapter() {
                    @Override
                    public void windowOpened(WindowEvent e) {
                        append(record, "shown " + System.getProperty("java.version"));
                    }

                    @Override
                    public void windowClosed(WindowEvent e) {
                        append(record, "closed");
                    }
                });
                frame.setVisible(true);
            }
        });
    }

    // Opened and closed per line, so every line is on disk whatever ends the VM afterwards.
    static void append(String path, String line) {
        try (OutputStream out = new FileOutputStream(path, true)) {
            out.write((line + "\n").getBytes(StandardCharsets.UTF_8));
        } catch (IOException e) {
            throw new IllegalStateException("cannot write " + path, e);
        }
    }
}
