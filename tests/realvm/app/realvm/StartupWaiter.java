package realvm;

import com.tarvo.Controller;
import com.tarvo.StartupListener;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.TimeUnit;

/**
 * Registers a start-up listener and keeps the VM up, on a non-daemon thread, until the launcher's
 * notification has arrived; records what arrived and on what kind of thread.
 */
final class StartupWaiter {

    private StartupWaiter() {
    }

    static void listen() {
        final CountDownLatch called = new CountDownLatch(1);
        Controller.addStartupListener(new StartupListener() {
            public void startupPerformed(String commandLine) {
                ProbeApp.record("startup " + ProbeApp.escape(commandLine)
                        + " daemon=" + Thread.currentThread().isDaemon());
                called.countDown();
            }
        });
        ProbeApp.startNonDaemon(new Runnable() {
            public void run() {
                try {
                    if (!called.await(20, TimeUnit.SECONDS)) {
                        ProbeApp.record("startup never arrived");
                    }
                } catch (InterruptedException e) {
                    ProbeApp.record("startup wait interrupted");
                }
            }
        });
    }
}
