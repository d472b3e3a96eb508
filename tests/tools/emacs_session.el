;;; emacs_session.el --- drive urduspell from Emacs as a user's configuration would  -*- lexical-binding: t -*-
;; Run by emacs_test.py: emacs -Q --batch -l emacs_session.el, with URDUSPELL (the program) and
;; SAMPLE (a text file) in the environment. Prints one "RESULT <name> <value>" line per check.
(require 'ispell)
(require 'flyspell)
(require 'seq)
(setq ispell-program-name (getenv "URDUSPELL"))
(setq ispell-dictionary "ur")
(setq flyspell-issue-message-flag nil)

(defun urduspell-test-result (name value)
  (princ (format "RESULT %s %S\n" name value)))

(defun urduspell-test-flagged ()
  "The words flyspell marked, in buffer order."
  (let (found)
    (dolist (o (overlays-in (point-min) (point-max)))
      (when (overlay-get o 'flyspell-overlay)
        (push (cons (overlay-start o)
                    (buffer-substring-no-properties (overlay-start o) (overlay-end o)))
              found)))
    (mapcar #'cdr (sort found (lambda (a b) (< (car a) (car b)))))))

(with-temp-buffer
  (text-mode)
  (ispell-set-spellchecker-params)
  (urduspell-test-result "hunspell" ispell-really-hunspell)
  (urduspell-test-result "encoding-option" ispell-encoding8-command)
  (urduspell-test-result "dictionaries" (sort (delq nil (mapcar #'car ispell-dictionary-alist))
                                              #'string<))
  ;; A small buffer: flyspell checks word by word through the -a pipe.
  (insert-file-contents (getenv "SAMPLE"))
  (flyspell-mode 1)
  (flyspell-buffer)
  (urduspell-test-result "small-buffer" (urduspell-test-flagged))
  ;; What M-x ispell-word gets for one word.
  (ispell-init-process)
  (ispell-send-string "%\n^مطابک\n")
  (while (progn (accept-process-output ispell-process 5)
                (not (string= "" (car ispell-filter)))))
  (urduspell-test-result "word" (ispell-parse-output (cadr ispell-filter)))
  ;; A large buffer: flyspell sends the region through -l.
  (erase-buffer)
  (dotimes (_ 5) (insert-file-contents (getenv "SAMPLE")))
  (flyspell-buffer)
  (urduspell-test-result "large-buffer-size" (buffer-size))
  (urduspell-test-result "large-buffer" (urduspell-test-flagged)))
